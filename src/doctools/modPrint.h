#pragma once
#include "base/Result.h"

class PrinterService;
class RichTextBox;

namespace modPrint {

// Prints the whole text of the box, laid out by the editing control page
// after page as the editor shows it, as one print job. The margins are
// distances from the paper's edges in twips (1440 to the inch). Failures
// are not shown here: they go to the caller.
Result<> PrintRichText(RichTextBox& rtbRichTextBox, PrinterService& printers, int LeftMargin, double TopMargin,
                       double RightMargin, double BottomMargin);

}
