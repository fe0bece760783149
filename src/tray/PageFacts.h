#pragma once

#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

#include "reader/PageReading.h"
#include "reader/Stored.h"

namespace tray {

// What the tray tells about a page beside its picture: the page's kind in
// words, each reading with the note of one that is not sure, and the values
// the printer stored when it printed the page, so that pages printed before
// and after a write can be told apart.
struct PageFacts {
    reader::PageKind kind = reader::PageKind::Unknown;
    QString title;         // "Bi-D check"; empty for a page the reader does not know
    QStringList readings;  // "pf-black: 0", "pf-color: not sure (...)"
    QList<QRect> areas;    // where each reading's pattern stands on the page; empty if not known
    // "Stored when printed: pf-black=2"; on a head angular page the
    // correction it was printed with; empty when none apply.
    QString stored;

    // The lines shown under the page list.
    QStringList Lines() const;
};

// page as ReadPage gives it; stored as the picture holds them (none for a
// picture without them). Adds the stored values to the readings that need
// them.
PageFacts FactsOf(reader::PageReading page, const reader::StoredValues& stored);

}  // namespace tray
