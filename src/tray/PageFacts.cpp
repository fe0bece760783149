#include "tray/PageFacts.h"

#include <algorithm>

namespace tray {

QStringList PageFacts::Lines() const {
    if (kind == reader::PageKind::Unknown) {
        return {QStringLiteral("Not a check page the reader knows.")};
    }
    QStringList lines{title};
    lines << readings;
    if (!stored.isEmpty()) {
        lines << stored;
    }
    return lines;
}

PageFacts FactsOf(reader::PageReading page, const reader::StoredValues& stored) {
    reader::ApplyStored(page, stored);
    PageFacts facts;
    facts.kind = page.kind;
    if (page.kind == reader::PageKind::Unknown) {
        return facts;
    }
    facts.title = QString::fromUtf8(reader::KindTitle(page.kind));
    QStringList values;
    for (const reader::Reading& reading : page.readings) {
        facts.readings << QString::fromStdString(reader::ReadingLine(reading));
        facts.areas << QRect(reading.area.x, reading.area.y, reading.area.width,
                             reading.area.height);
        // Only the values of what the page adjusts: the rest tell nothing of
        // this page.
        if (const auto value = stored.find(reading.name); value != stored.end()) {
            const QString text = QStringLiteral("%1=%2")
                                     .arg(QString::fromStdString(value->first))
                                     .arg(value->second);
            if (!values.contains(text)) {
                values << text;
            }
        }
    }
    const auto tilt = stored.find("head-angular");
    if (page.kind == reader::PageKind::HeadAngular && tilt != stored.end()) {
        // The picture keeps the correction in force, which the program's
        // print of this page leaves off whatever is stored.
        facts.stored = tilt->second == 0
                           ? QStringLiteral("Printed without a tilt correction")
                           : QStringLiteral("Printed with the tilt correction head-angular=%1")
                                 .arg(tilt->second);
    } else if (!values.isEmpty()) {
        facts.stored =
            QStringLiteral("Stored when printed: %1").arg(values.join(QStringLiteral(", ")));
    } else if (stored.empty()) {
        facts.stored = QStringLiteral("Stored when printed: not recorded in the picture");
    }
    return facts;
}

}  // namespace tray
