// `q7addr-cli print`: a job printed onto a PDF file by the program's own Qt
// printer, with no display (Qt's offscreen platform).
#pragma once

#include <string>

#include "platform/Dialogs.h"
#include "print/PrintData.h"

namespace cli {

// Prints job into pdfPath (a path as typed) exactly as printing does:
// PrintLines with the job's copies, collation and page range. Messages go
// through dialogs. Returns the process exit status: 0 printed, 1 failed.
int PrintJobToPdf(print::TPrintData& job, const std::string& pdfPath, dlg::Dialogs& dialogs);

}  // namespace cli
