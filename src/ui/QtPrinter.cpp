#include "ui/QtPrinter.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <algorithm>
#include <cmath>

#include "ui/Codec.h"

namespace app {

QtPrinter::QtPrinter(QPrinter& printer) : printer_(printer) {
  font_.setFamilies({QString::fromLatin1(print::kPrinterFace), QStringLiteral("monospace")});
  font_.setStyleHint(QFont::TypeWriter);
  font_.setFixedPitch(true);
  font_.setKerning(false);
  font_.setHintingPreference(QFont::PreferNoHinting);
}

QtPrinter::~QtPrinter() {
  if (painter_) AbortDoc();
}

double QtPrinter::DpiX() const { return printer_.logicalDpiX(); }
double QtPrinter::DpiY() const { return printer_.logicalDpiY(); }
int QtPrinter::PageWidth() const { return printer_.width(); }
int QtPrinter::PageHeight() const { return printer_.height(); }

void QtPrinter::SetTitle(const std::string& title) { printer_.setDocName(codec::ToQt(title)); }

bool QtPrinter::BeginDoc() {
  painter_ = std::make_unique<QPainter>();
  if (!painter_->begin(&printer_)) {
    painter_.reset();
    return false;
  }
  page_ = 1;
  painter_->setPen(Qt::black);
  painter_->setBackground(Qt::white);
  ApplyFont();
  return true;
}

bool QtPrinter::NewPage() {
  if (!painter_ || !printer_.newPage()) return false;
  ++page_;
  return true;
}

bool QtPrinter::EndDoc() {
  if (!painter_) return false;
  const bool ok = painter_->end();
  painter_.reset();
  return ok;
}

void QtPrinter::AbortDoc() {
  if (!painter_) return;
  printer_.abort();
  painter_->end();
  painter_.reset();
  if (printer_.outputFormat() == QPrinter::PdfFormat && !printer_.outputFileName().isEmpty())
    QFile::remove(printer_.outputFileName());
}

void QtPrinter::SetFont(const std::string& face, int height, bool fixedPitch) {
  QStringList families{codec::ToQt(face)};
  if (families.front() != QLatin1String(print::kPrinterFace)) families << QString::fromLatin1(print::kPrinterFace);
  families << QStringLiteral("monospace");
  font_.setFamilies(families);
  // Heights of 0 come from pitches of 0; a font needs one pixel at least.
  font_.setPixelSize(std::max(1, height));
  font_.setFixedPitch(fixedPitch);
  ApplyFont();
}

void QtPrinter::ApplyFont() {
  if (painter_) painter_->setFont(font_);
}

void QtPrinter::SetTransparent(bool transparent) {
  if (painter_) painter_->setBackgroundMode(transparent ? Qt::TransparentMode : Qt::OpaqueMode);
}

int QtPrinter::TextOut(int x, int y, const std::string& text) {
  if (!painter_) return x;
  const QString s = codec::ToQt(text);
  const QFontMetricsF m(painter_->font(), painter_->device());
  painter_->drawText(QPointF(x, y + m.ascent()), s);
  return x + static_cast<int>(std::lround(m.horizontalAdvance(s)));
}

void SetUpPdf(QPrinter& printer, const QString& path) {
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  printer.setResolution(1200);
  printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(5, 5, 5, 5),
                                    QPageLayout::Millimeter));
}

QtPrinterChooser::QtPrinterChooser(QWidget* parent)
    : parent_(parent), printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
  printer_->setDocName(QStringLiteral("Ostra Address Book Manager"));
  printer_->setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
  // With no printer installed the dialog starts on "Print to File (PDF)";
  // give it a name to start from.
  if (printer_->outputFileName().isEmpty() && printer_->outputFormat() == QPrinter::PdfFormat)
    printer_->setOutputFileName(QDir::home().filePath(QStringLiteral("addresses.pdf")));
  out_ = std::make_unique<QtPrinter>(*printer_);
}

QtPrinterChooser::~QtPrinterChooser() = default;

print::Printer* QtPrinterChooser::Choose(print::TPrintDialogState& state) {
  printer_->setCopyCount(std::max(1, state.Copies));
  printer_->setCollateCopies(state.Collate);
  if (state.FromPage > 0 || state.ToPage > 0) {
    printer_->setPrintRange(QPrinter::PageRange);
    printer_->setFromTo(std::max(1, state.FromPage), std::max(std::max(1, state.FromPage), state.ToPage));
  } else {
    printer_->setPrintRange(QPrinter::AllPages);
  }
  QPrintDialog dialog(printer_.get(), parent_);
  dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange |
                    QAbstractPrintDialog::PrintCollateCopies | QAbstractPrintDialog::PrintShowPageSize);
  dialog.setMinMax(1, 999);
  if (dialog.exec() != QDialog::Accepted) return nullptr;
  state.Copies = std::max(1, printer_->copyCount());
  state.Collate = printer_->collateCopies();
  if (printer_->printRange() == QPrinter::PageRange) {
    state.FromPage = printer_->fromPage();
    state.ToPage = printer_->toPage();
  } else {
    state.FromPage = 0;
    state.ToPage = 0;
  }
  // The copies are printed as pages; the print system must not repeat them.
  printer_->setCopyCount(1);
  printer_->setCollateCopies(false);
  printer_->setPrintRange(QPrinter::AllPages);
  return out_.get();
}

}  // namespace app
