// Doubles for printing: a printer that records each sheet with every font
// and text it received, a host that counts event rounds and keeps the page
// messages, and a preview surface that records what was drawn.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "print/Printing.h"

namespace testprint {

struct TextCall {
  int x = 0;
  int y = 0;
  std::string text;
  int fontHeight = 0;
};

struct Sheet {
  std::vector<TextCall> texts;
  // The texts joined per y, in drawing order (a line split by control codes
  // comes back whole).
  std::vector<std::string> Lines() const {
    std::vector<std::string> out;
    int lastY = -1;
    for (const TextCall& t : texts) {
      if (out.empty() || t.y != lastY) out.emplace_back();
      out.back() += t.text;
      lastY = t.y;
    }
    return out;
  }
};

// A page of width x height device units at the given resolution. Each byte
// advances the pen by the font's half height, as a fixed-pitch face whose
// single-byte characters are half squares does.
class RecordingPrinter : public print::Printer {
 public:
  RecordingPrinter(double dpi = 600, int width = 4800, int height = 6600)
      : dpi_(dpi), width_(width), height_(height) {}

  std::vector<Sheet> sheets;
  std::string title;
  bool begun = false, ended = false, aborted = false;
  std::vector<int> fontHeights;  // every SetFont call
  std::string face;
  bool failNewPage = false;
  bool failBegin = false;
  // Called at every NewPage, before it is counted.
  std::function<void()> onNewPage;

  double DpiX() const override { return dpi_; }
  double DpiY() const override { return dpi_; }
  int PageWidth() const override { return width_; }
  int PageHeight() const override { return height_; }
  void SetTitle(const std::string& t) override { title = t; }
  bool BeginDoc() override {
    if (failBegin) return false;
    begun = true;
    sheets.emplace_back();
    return true;
  }
  bool NewPage() override {
    if (onNewPage) onNewPage();
    if (failNewPage) return false;
    sheets.emplace_back();
    return true;
  }
  int PageNumber() const override { return static_cast<int>(sheets.size()); }
  bool EndDoc() override {
    ended = true;
    return true;
  }
  void AbortDoc() override { aborted = true; }
  void SetFont(const std::string& f, int height, bool) override {
    face = f;
    fontHeight_ = height;
    fontHeights.push_back(height);
  }
  void SetTransparent(bool) override {}
  int TextOut(int x, int y, const std::string& text) override {
    sheets.back().texts.push_back({x, y, text, fontHeight_});
    return x + static_cast<int>(text.size()) * (fontHeight_ / 2);
  }

  // The first text of each sheet (its first title line).
  std::vector<std::string> FirstLines() const {
    std::vector<std::string> out;
    for (const Sheet& s : sheets) out.push_back(s.Lines().empty() ? std::string() : s.Lines().front());
    return out;
  }

 private:
  double dpi_;
  int width_, height_;
  int fontHeight_ = 0;
};

class RecordingHost : public print::PrintHost {
 public:
  std::vector<std::string> messages;
  int rounds = 0;
  std::function<void()> onEvents;
  void ProcessEvents() override {
    ++rounds;
    if (onEvents) onEvents();
  }
  void SetPageMessage(const std::string& text) override { messages.push_back(text); }
};

class RecordingSurface : public print::PreviewSurface {
 public:
  RecordingSurface(int width, int height) : width_(width), height_(height) {}
  std::vector<TextCall> texts;
  int clears = 0;
  int fontHeight = 0;
  std::string face;

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void Clear() override {
    ++clears;
    texts.clear();
  }
  void SetFont(const std::string& f, int height, bool) override {
    face = f;
    fontHeight = height;
  }
  void DrawText(int x, int y, const std::string& text) override { texts.push_back({x, y, text, fontHeight}); }

  std::vector<std::string> Lines() const {
    Sheet s;
    s.texts = texts;
    return s.Lines();
  }

 private:
  int width_, height_;
};

}  // namespace testprint
