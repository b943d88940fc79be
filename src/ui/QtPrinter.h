// Printing on Qt: a print::Printer that draws on a QPrinter (a CUPS printer
// or a PDF file) and the printer dialog as a print::PrinterChooser.
#pragma once

#include <QFont>
#include <QPointer>
#include <QPrinter>
#include <QString>
#include <QWidget>
#include <memory>
#include <string>

#include "print/Printing.h"

class QPainter;

namespace app {

// Draws a job on a QPrinter. Coordinates are the printer's device pixels
// with the origin at the top-left of the printable area; text arrives as
// CP932 and is drawn with a fixed-pitch face that covers Japanese.
class QtPrinter : public print::Printer {
 public:
  explicit QtPrinter(QPrinter& printer);
  ~QtPrinter() override;  // a document still open is abandoned
  QtPrinter(const QtPrinter&) = delete;
  QtPrinter& operator=(const QtPrinter&) = delete;

  double DpiX() const override;
  double DpiY() const override;
  int PageWidth() const override;
  int PageHeight() const override;
  void SetTitle(const std::string& title) override;
  bool BeginDoc() override;
  bool NewPage() override;
  int PageNumber() const override { return page_; }
  bool EndDoc() override;
  // A PDF cannot be taken back once begun, so its file is removed.
  void AbortDoc() override;
  void SetFont(const std::string& face, int height, bool fixedPitch) override;
  void SetTransparent(bool transparent) override;
  int TextOut(int x, int y, const std::string& text) override;

  QPrinter& qprinter() { return printer_; }

 private:
  void ApplyFont();

  QPrinter& printer_;
  std::unique_ptr<QPainter> painter_;
  QFont font_;
  int page_ = 0;
};

// A QPrinter writing a PDF file: A4, 5 mm margins (about what a laser
// printer cannot reach, so a 92-cell line fits as on paper), 1200 dpi.
void SetUpPdf(QPrinter& printer, const QString& path);

// The platform's printer dialog (QPrintDialog): printer, copies, collation
// and page range. "Print to File (PDF)" is always offered, so printing works
// with no printer installed. PrintLines makes the copies itself, so the
// printer is handed back with one copy.
class QtPrinterChooser : public print::PrinterChooser {
 public:
  explicit QtPrinterChooser(QWidget* parent = nullptr);
  ~QtPrinterChooser() override;
  print::Printer* Choose(print::TPrintDialogState& state) override;
  QPrinter& qprinter() { return *printer_; }

 private:
  QPointer<QWidget> parent_;
  std::unique_ptr<QPrinter> printer_;
  std::unique_ptr<QtPrinter> out_;
};

}  // namespace app
