// The preview panel: one page of a job, drawn by DrawPreview on an image of
// 8 x 11.5 inches at 100 pixels an inch, with page buttons (and PgUp/PgDn,
// Ctrl+Home/End) to page through the job, and "Ret(&R)" to close it.
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QWidget>

#include <memory>

#include "print/Printing.h"

class QLabel;
class QPainter;
class QPushButton;
class QScrollArea;

namespace print {

// A PreviewSurface on a QImage. Text arrives as CP932, one character at a
// time, and is drawn with its top-left corner at the given point.
class ImageSurface : public PreviewSurface {
 public:
  explicit ImageSurface(QImage& image);
  ~ImageSurface() override;
  int Width() const override { return image_.width(); }
  int Height() const override { return image_.height(); }
  void Clear() override;
  void SetFont(const std::string& face, int height, bool fixedPitch) override;
  void DrawText(int x, int y, const std::string& text) override;

 private:
  QImage& image_;
  QPainter* painter_;
  std::unique_ptr<QFontMetricsF> metrics_;
  qreal ascent_ = 0;
  qreal halfCell_ = 0;
};

class PreviewWidget : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kImageWidth = 800;
  static constexpr int kImageHeight = 1150;

  explicit PreviewWidget(QWidget* parent = nullptr);

  // Shows page `page` of job (kept by the caller, not owned; nullptr shows
  // an empty page).
  void SetJob(TPrintData* job, int page = 1);
  void ShowPage(int page);
  int Page() const { return page_; }
  int PageCount() const { return pages_; }
  const QImage& Image() const { return image_; }

 signals:
  void closed();
  void pageChanged(int page);

 private:
  void Render();

  TPrintData* job_ = nullptr;
  int page_ = 1;
  int pages_ = 1;
  QImage image_;
  QScrollArea* area_;
  QLabel* imageLabel_;
  QLabel* pageLabel_;
  QPushButton* first_;
  QPushButton* prev_;
  QPushButton* next_;
  QPushButton* last_;
  QPushButton* ret_;
};

}  // namespace print
