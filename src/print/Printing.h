// Putting a job's lines on printer pages and drawing the preview, behind
// small interfaces: a printer (Qt's QPrinter in the program, a recording
// double in tests) and the host window (printer dialog, events, page counter).
// Implemented in PrintingLogic.cpp.
#pragma once

#include <string>

#include "platform/Dialogs.h"
#include "print/PrintData.h"

namespace print {

// A printer as printing uses it. Coordinates and sizes are device units;
// text is CP932 bytes.
class Printer {
 public:
  virtual ~Printer() = default;
  virtual double DpiX() const = 0;
  virtual double DpiY() const = 0;
  virtual int PageWidth() const = 0;   // drawable area
  virtual int PageHeight() const = 0;
  virtual void SetTitle(const std::string& title) = 0;
  virtual bool BeginDoc() = 0;
  virtual bool NewPage() = 0;
  virtual int PageNumber() const = 0;  // 1 for the first sheet
  virtual bool EndDoc() = 0;
  virtual void AbortDoc() = 0;
  virtual void SetFont(const std::string& face, int height, bool fixedPitch) = 0;
  virtual void SetTransparent(bool transparent) = 0;
  // Draws text with its top-left corner at (x, y); returns the x where it ended.
  virtual int TextOut(int x, int y, const std::string& text) = 0;
};

// What printing needs of the window that runs it.
class PrintHost {
 public:
  virtual ~PrintHost() = default;
  // Lets the user process pending events (repaint, a cancel click).
  virtual void ProcessEvents() = 0;
  // The page counter label ("3 page").
  virtual void SetPageMessage(const std::string& text) = 0;
};

// The platform's printer dialog: shows the choices of state (printer,
// copies, collation, page range), writes back what the user chose and
// returns the chosen printer, or nullptr when the user cancelled. The
// printer stays owned by the chooser.
class PrinterChooser {
 public:
  virtual ~PrinterChooser() = default;
  virtual Printer* Choose(TPrintDialogState& state) = 0;
};

// The preview image: a page-sized surface.
class PreviewSurface {
 public:
  virtual ~PreviewSurface() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void Clear() = 0;
  virtual void SetFont(const std::string& face, int height, bool fixedPitch) = 0;
  virtual void DrawText(int x, int y, const std::string& text) = 0;
};

// Prints the job (Header and Lines already built; PrintDialog holds the
// user's choices). Shows "No Print Data !" through dialogs when Lines is
// empty. False when nothing was printed or the job was aborted.
bool PrintLines(TPrintData& job, Printer& printer, PrintHost& host, dlg::Dialogs& dialogs,
                const std::string& fontFace);

// The faces printing and the preview ask for; both cover Japanese. A surface
// without the serif face falls back to the fixed-pitch one.
inline constexpr const char* kPrinterFace = "Noto Sans Mono CJK JP";
inline constexpr const char* kPreviewFace = "Noto Serif CJK JP";

// Draws page `page` (1 = the first) of the job as the preview shows it.
// Page 1 is the first page; later pages go on with the body where the one
// before stopped, each under the titles (page field 9999 on every page).
void DrawPreview(TPrintData& job, PreviewSurface& image, int page = 1);
// How many preview pages the job has (at least 1).
int PreviewPageCount(const TPrintData& job, const PreviewSurface& image);

// Takes up to two leading decimal digits off text and returns their value
// (0 when none).
int TakeNumber(std::string& text);

}  // namespace print
