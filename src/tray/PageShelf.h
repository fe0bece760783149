#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "vprinter/Store.h"

namespace tray {

// One printed page of a virtual printer, as its picture in the printer's
// pages folder.
struct TrayPage {
    std::string port;
    std::string name;  // page-0001.png
    std::string path;
    unsigned long number = 0;  // from the name: the printer's own order
    uint64_t scan = 0;         // the scan of the folders that first found it whole

    bool operator==(const TrayPage&) const = default;
};

// True when the file holds a whole PNG picture: the signature at its start
// and the IEND chunk at its end. A picture still being written, or cut
// short, lacks the end.
bool IsWholePicture(const std::string& path);

// Why the tray cannot read a state folder named with --dir, or an empty
// string: an empty name, something that is not a folder, a folder it cannot
// read. A folder that does not exist yet is fine: the tray waits for it.
std::string TrayFolderProblem(const std::string& folder);

// The pages of the virtual printers of one state folder, read from their
// pages folders only; it never writes there. A page counts once its picture
// is whole; file names other than the printer's page names (its temporary
// files, .next, .lock) are never pages.
//
// Newest first: a page that a later scan found comes before those found
// earlier, so a page that comes out while the tray runs goes to the top.
// Within one scan (all pages found at start), a higher page number comes
// first, then the port in name order. The page number is the order the
// printer gave its pages; file times are not used, since a copied or
// restored folder loses them.
class PageShelf {
  public:
    // With a port, only that printer's pages; else those of every printer in
    // the folder, as the control tool lists them.
    explicit PageShelf(std::string stateFolder, std::string port = {});

    const std::string& Folder() const { return store_.Folder(); }
    const std::string& Port() const { return port_; }

    // Reads the folders again; true when the pages listed changed.
    bool Refresh();
    // Newest first.
    const std::vector<TrayPage>& Pages() const { return pages_; }

    // The folders whose changes can bring or take pages, as far as they
    // exist: the state folder, the printers' folders and their pages folders.
    std::vector<std::string> Folders() const;

    // A listed picture that could not be read after all: it is left out
    // until its file changes, and tried again then.
    void HoldBack(const std::string& path);

  private:
    std::vector<std::string> PrinterPorts() const;
    void Arrange();

    vprinter::Store store_;
    std::string port_;
    uint64_t scans_ = 0;
    std::map<std::string, TrayPage> whole_;                // by path
    std::map<std::string, vprinter::FileStamp> heldBack_;  // by path
    std::vector<TrayPage> pages_;
};

}  // namespace tray
