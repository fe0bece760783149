#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "vprinter/Page.h"

namespace vprinter {

// The pictures of the printed pages in a printer's pages folder:
// page-0001.png, page-0002.png ... The next number is kept in the folder's
// .next file (without it: one past the highest picture there) and taken under
// the folder's .lock; a picture is never written over another.

// File names in the order they were printed.
std::vector<std::string> ListPages(const std::string& folder);

// Writes the page as the next picture of the folder (created when missing)
// and sets page.name. False with the reason when it could not be written.
bool SavePage(const std::string& folder, Page& page, std::string& error);

// Width and height of a PNG file, from its header.
bool PngSize(const std::string& path, uint32_t& width, uint32_t& height);

}  // namespace vprinter
