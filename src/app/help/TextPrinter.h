#pragma once
// Printing a text line by line: the fixed-pitch font, one inch from the top of the printable area
// and three quarters of an inch from its left, as many lines on a page as fit between a one-inch
// top and bottom, each line cut at 1,024 characters, tabs at multiples of eight character widths
// measured from the printable area's left edge.

#include <string>
#include <vector>

class QPrinter;

namespace klt {

// Prints the lines (byte texts) as a job named docName on the printer the print dialog set up. An
// empty list still gives one empty page. The program's windows go on answering between pages.
// False when the job could not be started or failed.
bool PrintLines(QPrinter& printer, const std::string& docName, const std::vector<std::string>& lines);

} // namespace klt
