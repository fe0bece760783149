// Tells the kind of a check page from the marks on it and hands it to the
// page kind's reader.
#include <algorithm>
#include <new>
#include <vector>

#include "platform/Files.h"
#include "reader/Lines.h"
#include "reader/Orientation.h"
#include "reader/PageReading.h"
#include "reader/PhotoSheet.h"
#include "reader/PictureFile.h"
#include "reader/Sheet.h"

namespace reader {

namespace {

constexpr int kEdgeSearchRows = 1000;  // the first dot page's line stands near the top
// The first dot page's line as far right as it may be printed: the error
// 127 units right with -128 stored.
constexpr int kEdgeFurthest = 3 * 255 + 8;
constexpr int kTopLineLowest = 42 + 127 + 8;  // the top margin line, 127 units down
constexpr long kPfBlocks = 22;                // eleven steps of two blocks, apart or met

bool Tall(const Mark& mark) {
    return mark.box.height >= 400 && mark.box.width <= 40;
}
bool Wide(const Mark& mark) {
    return mark.box.width >= 300;
}
bool CombLike(const Mark& mark) {
    return mark.box.height < 250 && mark.box.width >= 40 && mark.box.width < 160;
}

PageReading Read(const Sheet& sheet) {
    PageReading page;
    const std::vector<Mark> marks = FindMarks(sheet);
    const auto count = [&](auto test) { return std::count_if(marks.begin(), marks.end(), test); };
    const auto all = [&](auto test) {
        return !marks.empty() && std::all_of(marks.begin(), marks.end(), test);
    };
    if (marks.empty()) {
        const std::vector<Mark> lines = FindLongLines(sheet);
        const auto edge = FindEdgeLine(sheet, 0, kEdgeSearchRows);
        if (!lines.empty() && lines.front().box.y > kTopLineLowest) {
            page.problem = "the page's lines are of no check page";
        } else if (lines.size() >= 2) {
            page.kind = PageKind::PhotoSheet2;
            page.readings = ReadPhotoSheetSecond(sheet, lines);
            PlaceAt(page.readings, Around(lines));
        } else if (lines.size() == 1) {
            page.kind = PageKind::TopMargin;
            page.readings = ReadTopMargin(sheet, lines.front());
            PlaceAt(page.readings, Around(lines));
        } else if (edge && edge->column <= kEdgeFurthest) {
            page.kind = PageKind::FirstDot;
            page.readings = ReadFirstDot(sheet, *edge);
            // The line and the paper's left edge it is measured from.
            PlaceAt(page.readings, cv::Rect(0, edge->top, static_cast<int>(edge->column) + 1,
                                            std::max(edge->rows, 1)));
        } else {
            page.problem = kNoPattern;
        }
        return page;
    }
    // A feed far off parts the head angular marks' two bands: each band a
    // mark of its own, the lower one under the upper.
    if (const auto joined = JoinBands(marks);
        joined.size() == 5 && std::all_of(joined.begin(), joined.end(), Tall)) {
        page.kind = PageKind::HeadAngular;
        page.readings = ReadHeadAngular(sheet, joined);
        PlaceAt(page.readings, Around(joined));
        return page;
    }
    const bool oneInk = all([&](const Mark& m) { return m.ink == marks.front().ink; });
    if (all(Tall) && marks.size() == 5) {
        page.kind = PageKind::HeadAngular;
        page.readings = ReadHeadAngular(sheet, marks);
    } else if (all(Wide) && oneInk && count(Wide) >= kPfBlocks / 2 && count(Wide) <= kPfBlocks) {
        const bool black = marks.front().ink == Ink::Black;
        page.kind = black ? PageKind::PfBlack : PageKind::PfColor;
        page.readings = ReadPf(sheet, marks, black);
    } else if (all(CombLike) && marks.size() >= 5) {
        page.kind = PageKind::Bid;
        page.readings = ReadBid(sheet, marks);
    } else if (count(Wide) > 0 && count(CombLike) > 0) {
        page.kind = PageKind::PhotoSheet1;
        page.readings = ReadPhotoSheetFirst(sheet, marks);
    } else {
        page.problem = "the marks on the page are of no check page";
    }
    PlaceAt(page.readings, Around(marks));
    return page;
}

}  // namespace

const char* KindName(PageKind kind) {
    switch (kind) {
        case PageKind::Bid:
            return "bid";
        case PageKind::HeadAngular:
            return "head-angular";
        case PageKind::PfBlack:
            return "pf-black";
        case PageKind::PfColor:
            return "pf-color";
        case PageKind::TopMargin:
            return "top-margin";
        case PageKind::FirstDot:
            return "first-dot";
        case PageKind::PhotoSheet1:
            return "photo-sheet-1";
        case PageKind::PhotoSheet2:
            return "photo-sheet-2";
        case PageKind::Unknown:
            break;
    }
    return "unknown";
}

const char* KindTitle(PageKind kind) {
    switch (kind) {
        case PageKind::Bid:
            return "Bi-D check";
        case PageKind::HeadAngular:
            return "Head angular check";
        case PageKind::PfBlack:
            return "PF check (black)";
        case PageKind::PfColor:
            return "PF check (color)";
        case PageKind::TopMargin:
            return "Top margin check";
        case PageKind::FirstDot:
            return "First dot check";
        case PageKind::PhotoSheet1:
            return "Photo-paper sheet, page 1";
        case PageKind::PhotoSheet2:
            return "Photo-paper sheet, page 2";
        case PageKind::Unknown:
            break;
    }
    return "Not a check page";
}

std::string ReadingLine(const Reading& reading) {
    std::string line = reading.name + ": ";
    if (!reading.sure) {
        line += "not sure";
        if (!reading.note.empty()) {
            line += " (" + reading.note + ")";
        }
    } else if (!reading.best.empty()) {
        line += reading.best;
    } else {
        line += reading.ValueText();
        // An end mark's verdict says what it means.
        if (reading.ng && !reading.note.empty()) {
            line += " (" + reading.note + ")";
        }
    }
    return line;
}

std::string WayText(const Reading& reading) {
    if (!reading.next) {
        return {};
    }
    const std::string next = std::to_string(*reading.next);
    std::string text;
    if (reading.other) {
        text = "the value lies between ";
        text += std::to_string(std::min(*reading.next, *reading.other));
        text += " and ";
        text += std::to_string(std::max(*reading.next, *reading.other));
        text += ": write either";
        text += reading.printAgain ? " and print again" : "";
        return text;
    }
    if (reading.direction != 0) {
        text = "the value lies ";
        text += reading.direction > 0 ? "above " : "below ";
        text += next;
        text += ": ";
    }
    text += "write ";
    text += next;
    text += reading.printAgain ? " and print again" : "";
    return text;
}

void NotSure(Reading& reading, const std::string& why, int direction, std::optional<int> next,
             std::optional<int> other) {
    reading.sure = false;
    reading.direction = direction;
    reading.next = next;
    reading.other = other;
    const std::string way = WayText(reading);
    reading.note = way.empty() ? why : why + ": " + way;
}

bool PageReading::AllSure() const {
    return kind != PageKind::Unknown && !readings.empty() &&
           std::all_of(readings.begin(), readings.end(), [](const Reading& r) { return r.sure; });
}

PageReading ReadPage(const cv::Mat& picture, double dpiHint) {
    PageReading page;
    auto sheet = MakeSheet(picture, dpiHint, page.problem);
    if (!sheet) {
        return page;
    }
    TurnUpright(*sheet);
    page = Read(*sheet);
    if (!sheet->edgesSeen) {
        // The top margin and the first dot are measured from the paper's
        // edges, which the picture did not show.
        for (Reading& reading : page.readings) {
            const bool fromEdges = reading.name == "top-margin" || reading.name == "first-dot";
            if (fromEdges && (reading.sure || reading.note.empty())) {
                reading.sure = false;
                reading.note =
                    "the paper's edges do not show in the picture: scan it on a dark lid";
            }
        }
    }
    return page;
}

namespace {

// The file decoded and, when read is set, read as a page.
PageReading LoadPage(const std::string& path, double dpiHint, cv::Mat* decoded, bool read) {
    PageReading page;
    // Neither a decoder's refusal nor a picture too large for the memory
    // leaves here as an exception: a page that cannot be read is a problem.
    try {
        // A FIFO or a device is not opened: it could keep us waiting, or
        // give bytes without end.
        std::vector<uint8_t> bytes;
        switch (orvane::ReadWholeFile(path, static_cast<size_t>(kMaxPictureFileBytes), bytes)) {
            case orvane::FileRead::Done:
                break;
            case orvane::FileRead::NotAFile:
                page.problem = "not a regular file";
                return page;
            case orvane::FileRead::TooLarge:
                page.problem = "larger than any page picture's file";
                return page;
            case orvane::FileRead::Missing:
                page.problem = "no such file";
                return page;
            case orvane::FileRead::CannotRead:
                page.problem = "cannot be read";
                return page;
        }
        // A fine scan of known resolution is decoded no finer than page
        // dots need (600 dpi at 375).
        const double enough = dpiHint > 0 ? kDotsPerInch / dpiHint : 1;
        int reduction = 1;
        double scale = 1;
        const cv::Mat picture =
            DecodePicture(bytes, page.problem, &reduction, read ? enough : 1, &scale);
        if (picture.empty()) {
            return page;
        }
        bytes = {};
        if (decoded != nullptr) {
            *decoded = picture;
        }
        if (!read) {
            return page;
        }
        // A picture decoded smaller has the fewer dots an inch.
        return ReadPage(picture, dpiHint * scale);
    } catch (const cv::Exception& error) {
        page = {};
        page.problem = "the picture could not be read (" + error.err + ")";
    } catch (const std::bad_alloc&) {
        page = {};
        page.problem = "the picture is too large for the memory at hand";
    }
    return page;
}

}  // namespace

PageReading ReadPageFile(const std::string& path, double dpiHint, cv::Mat* decoded) {
    return LoadPage(path, dpiHint, decoded, true);
}

cv::Mat DecodePictureFile(const std::string& path, std::string& problem) {
    cv::Mat picture;
    problem = LoadPage(path, 0, &picture, false).problem;
    return picture;
}

}  // namespace reader
