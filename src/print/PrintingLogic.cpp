// Printing a job's lines page by page and drawing the preview.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

#include "platform/Sjis.h"
#include "print/Printing.h"

namespace print {

namespace {

constexpr char kEsc = '\x1B';
constexpr char kFF = '\x0C';
// A line is drawn up to this many bytes; positions of absent codes count as
// one past it.
constexpr std::size_t kDrawLimit = 254;
constexpr std::size_t kAbsent = 255;
constexpr int kNormalCell = 116;  // twips per cell at 100 %

// The first title line carries a "%-4d" page field; "%%" stands for "%".
std::string FormatPageField(const std::string& title, int page) {
  std::string out;
  out.reserve(title.size() + 8);
  bool done = false;
  for (std::size_t i = 0; i < title.size(); ++i) {
    if (title[i] != '%') {
      out.push_back(title[i]);
    } else if (i + 1 < title.size() && title[i + 1] == '%') {
      out.push_back('%');
      ++i;
    } else if (!done && title.compare(i, 4, "%-4d") == 0) {
      char buf[16];
      std::snprintf(buf, sizeof buf, "%-4d", page);
      out += buf;
      i += 3;
      done = true;
    } else if (i + 1 == title.size()) {
      // a lone "%" at the end produces nothing
    } else {
      out.push_back('%');
    }
  }
  return out;
}

double CellWidthOf(int twips, double dpi, int scale) { return twips * dpi * scale / 144000.0; }
int FontHeightOf(double cellWidth) { return 2 * static_cast<int>(std::trunc(cellWidth)); }
double PitchOf(int lineSpacing, double dpiY, int scale) { return lineSpacing * dpiY * scale / 12000.0; }

// Prints the job once the document has begun; throws nothing itself but lets
// the printer's exceptions pass.
class PagePrinter {
 public:
  PagePrinter(TPrintData& job, Printer& printer, PrintHost& host, const std::string& face)
      : job_(job), printer_(printer), host_(host), face_(face) {}

  // Returns false when a sheet could not be started.
  bool Run(int outerCopies, int pageRepeats, int firstPage, int lastPage) {
    cellTwips_ = kNormalCell;
    job_.CellWidth = CellWidthOf(cellTwips_, job_.DpiY, job_.Scale);
    printer_.SetFont(face_, FontHeightOf(job_.CellWidth), true);
    ShowPageNumber();
    const std::size_t body = job_.Lines.size();
    const std::size_t titles = job_.Header.size();
    double y = Top();
    bool pageStart = false;
    for (int copy = 0; copy < outerCopies && !job_.Aborted; ++copy) {
      int n = 1;
      std::size_t b = 0, p = 0, h = 0;
      int left = pageRepeats;
      for (;;) {
        const bool drawn = n >= firstPage;
        if (pageStart) {
          // Only a page that is drawn takes a sheet: the pages before the
          // range in a second collated copy leave no blank sheets.
          if (anyDrawn_ && drawn && !printer_.NewPage()) return false;
          y = Top();
          ShowPageNumber();
          pageStart = false;
        }
        bool ff = false;
        bool bodyOnPage = false;
        for (;;) {
          if (h < titles) {
            ff = DrawLine(h == 0 ? FormatPageField(job_.Header[0], n) : job_.Header[h], y, drawn);
            ++h;
          } else {
            ff = DrawLine(job_.Lines[b], y, drawn);
            ++b;
            bodyOnPage = true;
          }
          if (drawn) anyDrawn_ = true;
          y += PitchOf(job_.LineSpacing, job_.DpiY, job_.Scale);
          // A page always takes at least one body line, so titles taller
          // than the page cannot keep the job from moving on.
          if (!(y <= job_.PageBottom || !bodyOnPage) || ff || b >= body) break;
        }
        // The page ends.
        y = 0;
        h = 0;
        pageStart = true;
        host_.ProcessEvents();
        if (job_.Aborted) break;
        if (--left > 0) {
          b = p;
          continue;
        }
        left = pageRepeats;
        p = b;
        ++n;
        if (n > lastPage || b >= body) break;
      }
    }
    return true;
  }

  bool AnyDrawn() const { return anyDrawn_; }

 private:
  double Top() const { return job_.TopMargin * job_.DpiY / 254.0; }

  void ShowPageNumber() { host_.SetPageMessage(std::to_string(printer_.PageNumber()) + " page"); }

  // Draws one line (its first 254 bytes) acting on the control codes in it;
  // true when it held an FF.
  bool DrawLine(const std::string& full, double y, bool drawn) {
    std::string_view rest = sjis::CutWidth(full, kDrawLimit);
    double x = job_.LeftMargin * job_.DpiX / 254.0;
    bool ff = false;
    printer_.SetTransparent(true);
    for (;;) {
      const std::size_t escAt = rest.find(kEsc);
      const std::size_t ffAt = rest.find(kFF);
      const std::size_t e = escAt == std::string_view::npos ? kAbsent : escAt + 1;  // 1-based
      const std::size_t f = ffAt == std::string_view::npos ? kAbsent : ffAt + 1;
      if (f != kAbsent) ff = true;
      const std::size_t end = std::min(e, f);
      const bool code = e < f;
      const double room = job_.CellWidth > 0 ? std::trunc((job_.PageWidth - x) / job_.CellWidth) : 0;
      const std::size_t cells = room > 0 ? static_cast<std::size_t>(room) : 0;
      // Cut at the page edge without halving a double-byte character.
      const std::string_view piece = sjis::CutWidth(rest.substr(0, end - 1), cells);
      if (drawn && !piece.empty())
        x = printer_.TextOut(static_cast<int>(std::trunc(x)), static_cast<int>(std::trunc(y)), std::string(piece));
      if (code) {
        const char letter = e < rest.size() ? rest[e] : '\0';
        rest = rest.substr(std::min(rest.size(), e + 1));
        std::string tail(rest);
        switch (letter) {
          case 'E': cellTwips_ = 96; break;
          case 'H': cellTwips_ = 116; break;
          case 'Q': cellTwips_ = 68; break;
          case 'T': job_.LineSpacing = TakeNumber(tail); break;
          default: break;
        }
        rest = rest.substr(rest.size() - tail.size());  // the digits "T" took
        job_.CellWidth = CellWidthOf(cellTwips_, job_.DpiY, job_.Scale);
      } else if (f != kAbsent) {
        rest = rest.substr(f);
      }
      printer_.SetFont(face_, FontHeightOf(job_.CellWidth), true);
      if (end >= kAbsent) break;
    }
    printer_.SetTransparent(false);
    return ff;
  }

  TPrintData& job_;
  Printer& printer_;
  PrintHost& host_;
  const std::string& face_;
  int cellTwips_ = kNormalCell;
  bool anyDrawn_ = false;
};

// How the preview lays out a page of the given surface size: the first
// line's top, the pitch and how many lines a page holds.
struct PreviewGeometry {
  double dpiX = 0, dpiY = 0, top = 0, pitch = 0, bottom = 0;
  int scale = 100;
  std::size_t linesPerPage = 1;
};

PreviewGeometry GeometryOf(const TPrintData& job, int width, int height) {
  PreviewGeometry g;
  g.scale = job.Scale == 0 ? 100 : job.Scale;
  g.dpiX = width / 8.0;
  g.dpiY = height / 11.5;
  g.bottom = height - 10;
  g.top = job.TopMargin * g.dpiY / 254.0;
  g.pitch = PitchOf(20, g.dpiY, g.scale);
  // The same y steps as the drawing loop, so the count matches it exactly.
  std::size_t lines = 0;
  double y = g.top;
  for (;;) {
    ++lines;
    y += g.pitch;
    if (!(y <= g.bottom) || g.pitch <= 0 || lines > 100000) break;
  }
  g.linesPerPage = lines;
  return g;
}

// Body lines per preview page; 0 when the titles leave no room.
std::size_t PreviewBodyPerPage(const TPrintData& job, const PreviewGeometry& g) {
  return g.linesPerPage > job.Header.size() ? g.linesPerPage - job.Header.size() : 0;
}

}  // namespace

int TakeNumber(std::string& text) {
  int value = 0;
  std::size_t i = 0;
  while (i < 2 && i < text.size() && text[i] >= '0' && text[i] <= '9') {
    value = value * 10 + (text[i] - '0');
    ++i;
  }
  text.erase(0, i);
  return value;
}

bool PrintLines(TPrintData& job, Printer& printer, PrintHost& host, dlg::Dialogs& dialogs,
                const std::string& fontFace) {
  job.Aborted = false;
  if (job.Lines.empty()) {
    dialogs.MessageBox("No Print Data !", dlg::BoxType::Error, {dlg::Button::Ok});
    return false;
  }
  if (job.Scale == 0) job.Scale = 100;
  job.DpiX = printer.DpiX();
  job.DpiY = printer.DpiY();
  job.LineSpacing = 20;
  job.PageBottom = printer.PageHeight() - static_cast<std::int32_t>(std::lround(PitchOf(20, job.DpiY, job.Scale)));
  job.PageWidth = printer.PageWidth();

  const int copies = std::max(1, job.PrintDialog.Copies);
  const int outerCopies = job.PrintDialog.Collate ? copies : 1;
  const int pageRepeats = job.PrintDialog.Collate ? 1 : copies;
  job.PrintDialog.Copies = 1;
  const int firstPage = job.PrintDialog.FromPage != 0 ? job.PrintDialog.FromPage : 1;
  const int lastPage = job.PrintDialog.ToPage != 0 ? job.PrintDialog.ToPage : 999;

  printer.SetTitle("Ostra Address Book Manager");
  if (!printer.BeginDoc()) {
    dialogs.MessageBox("Can not start printing.", dlg::BoxType::Error, {dlg::Button::Ok});
    return false;
  }
  PagePrinter pages(job, printer, host, fontFace);
  bool sheetsOk = false;
  try {
    sheetsOk = pages.Run(outerCopies, pageRepeats, firstPage, lastPage);
  } catch (...) {
    printer.AbortDoc();
    throw;
  }
  if (!sheetsOk) {
    printer.AbortDoc();
    dialogs.MessageBox("Printing failed.", dlg::BoxType::Error, {dlg::Button::Ok});
    return false;
  }
  // A page range past the end draws nothing: no empty sheet goes out.
  if (job.Aborted || !pages.AnyDrawn()) {
    printer.AbortDoc();
    return false;
  }
  if (!printer.EndDoc()) {
    dialogs.MessageBox("Printing failed.", dlg::BoxType::Error, {dlg::Button::Ok});
    return false;
  }
  return true;
}

int PreviewPageCount(const TPrintData& job, const PreviewSurface& image) {
  const PreviewGeometry g = GeometryOf(job, image.Width(), image.Height());
  const std::size_t per = PreviewBodyPerPage(job, g);
  if (job.Lines.empty() || per == 0) return 1;
  return static_cast<int>((job.Lines.size() + per - 1) / per);
}

void DrawPreview(TPrintData& job, PreviewSurface& image, int page) {
  if (job.Scale == 0) job.Scale = 100;
  job.PageWidth = image.Width();
  job.PageBottom = image.Height() - 10;
  job.DpiX = image.Width() / 8.0;
  job.DpiY = image.Height() / 11.5;
  job.LineSpacing = 20;
  image.Clear();
  job.CellWidth = CellWidthOf(kNormalCell, job.DpiX, job.Scale);
  image.SetFont(kPreviewFace, static_cast<int>(std::trunc(kNormalCell * job.DpiY * job.Scale * 2 / 144000.0)),
                true);

  const PreviewGeometry g = GeometryOf(job, image.Width(), image.Height());
  const std::size_t per = PreviewBodyPerPage(job, g);
  const int pages = PreviewPageCount(job, image);
  page = std::clamp(page, 1, pages);
  std::size_t b = per * static_cast<std::size_t>(page - 1);
  std::size_t h = 0;
  double y = job.TopMargin * job.DpiY / 254.0;
  const double pitch = PitchOf(job.LineSpacing, job.DpiY, job.Scale);
  for (;;) {
    std::string line;
    if (h < job.Header.size()) {
      line = h == 0 ? FormatPageField(job.Header[0], 9999) : job.Header[h];
      ++h;
    } else if (b < job.Lines.size()) {
      line = job.Lines[b++];
    } else {
      break;
    }
    double x = job.LeftMargin * job.DpiX / 254.0;
    for (std::size_t i = 0; i < line.size() && x < image.Width();) {
      const int ix = static_cast<int>(std::trunc(x)), iy = static_cast<int>(std::trunc(y));
      if (sjis::IsLead(line[i]) && i + 1 < line.size()) {
        image.DrawText(ix, iy, line.substr(i, 2));
        x += 2 * job.CellWidth;
        i += 2;
      } else {
        image.DrawText(ix, iy, line.substr(i, 1));
        x += job.CellWidth;
        i += 1;
      }
    }
    y += pitch;
    if (!(y <= job.PageBottom) || b >= job.Lines.size()) break;
  }
}

}  // namespace print
