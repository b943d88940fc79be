#include "print/PreviewWidget.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/Codec.h"
#include "ui/Translate.h"

namespace print {

namespace {

QString PageText(int page, int pages) {
  return ui::TrText(ui::ctx::kPrint, QStringLiteral("Page %1 / %2")).arg(page).arg(pages);
}

}  // namespace

ImageSurface::ImageSurface(QImage& image) : image_(image), painter_(new QPainter(&image)) {
  painter_->setPen(Qt::black);
  painter_->setRenderHint(QPainter::TextAntialiasing);
}

ImageSurface::~ImageSurface() {
  painter_->end();
  delete painter_;
}

void ImageSurface::Clear() { painter_->fillRect(image_.rect(), Qt::white); }

void ImageSurface::SetFont(const std::string& face, int height, bool fixedPitch) {
  const QString wanted = codec::ToQt(face);
  QFont f;
  // The serif face when the system has it, else the printer's face.
  QStringList families;
  if (QFontDatabase::hasFamily(wanted)) families << wanted;
  families << QString::fromLatin1(kPrinterFace) << QStringLiteral("monospace");
  f.setFamilies(families);
  f.setPixelSize(std::max(1, height));
  f.setFixedPitch(fixedPitch);
  f.setKerning(false);
  painter_->setFont(f);
  metrics_ = std::make_unique<QFontMetricsF>(f, &image_);
  ascent_ = metrics_->ascent();
  halfCell_ = std::max(1, height) / 2.0;
}

void ImageSurface::DrawText(int x, int y, const std::string& text) {
  const QString s = codec::ToQt(text);
  // The serif face's Latin letters are proportional; one wider than its
  // half-width cell is narrowed to it, so that letters never overlap.
  const qreal advance = metrics_ ? metrics_->horizontalAdvance(s) : 0;
  if (text.size() == 1 && advance > halfCell_ && halfCell_ > 0) {
    painter_->save();
    painter_->translate(x, y + ascent_);
    painter_->scale(halfCell_ / advance, 1);
    painter_->drawText(QPointF(0, 0), s);
    painter_->restore();
    return;
  }
  painter_->drawText(QPointF(x, y + ascent_), s);
}

PreviewWidget::PreviewWidget(QWidget* parent)
    : QWidget(parent), image_(kImageWidth, kImageHeight, QImage::Format_RGB32) {
  image_.fill(Qt::white);
  area_ = new QScrollArea(this);
  area_->setObjectName(QStringLiteral("PreviewArea"));
  area_->setBackgroundRole(QPalette::Dark);
  area_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  imageLabel_ = new QLabel;
  imageLabel_->setObjectName(QStringLiteral("Image1"));
  imageLabel_->setPixmap(QPixmap::fromImage(image_));
  area_->setWidget(imageLabel_);

  // Small page buttons, so that the row fits the narrow window over the grid.
  const auto pageButton = [this](const char* text, const char* tip) {
    auto* b = new QPushButton(QString::fromLatin1(text), this);
    b->setToolTip(ui::TrText(ui::ctx::kPrint, QString::fromLatin1(tip)));
    b->setFixedWidth(b->fontMetrics().horizontalAdvance(QStringLiteral(">>|")) + 16);
    return b;
  };
  first_ = pageButton("|<", "First page (Ctrl+Home)");
  prev_ = pageButton("<", "Previous page (PgUp)");
  next_ = pageButton(">", "Next page (PgDn)");
  last_ = pageButton(">|", "Last page (Ctrl+End)");
  ret_ = new QPushButton(ui::TrText(ui::ctx::kPrint, QStringLiteral("Ret(&R)")), this);
  first_->setObjectName(QStringLiteral("PreviewFirst"));
  prev_->setObjectName(QStringLiteral("PreviewPrev"));
  next_->setObjectName(QStringLiteral("PreviewNext"));
  last_->setObjectName(QStringLiteral("PreviewLast"));
  ret_->setObjectName(QStringLiteral("PreViewEnd"));
  pageLabel_ = new QLabel(this);
  pageLabel_->setObjectName(QStringLiteral("PreviewPageLabel"));
  pageLabel_->setMinimumWidth(pageLabel_->fontMetrics().horizontalAdvance(PageText(999, 999)) + 8);
  pageLabel_->setAlignment(Qt::AlignCenter);

  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(2);
  buttons->addWidget(first_);
  buttons->addWidget(prev_);
  buttons->addWidget(next_);
  buttons->addWidget(last_);
  buttons->addWidget(pageLabel_);
  buttons->addStretch(1);
  buttons->addWidget(ret_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addLayout(buttons);
  layout->addWidget(area_, 1);

  connect(first_, &QPushButton::clicked, this, [this] { ShowPage(1); });
  connect(prev_, &QPushButton::clicked, this, [this] { ShowPage(page_ - 1); });
  connect(next_, &QPushButton::clicked, this, [this] { ShowPage(page_ + 1); });
  connect(last_, &QPushButton::clicked, this, [this] { ShowPage(pages_); });
  connect(ret_, &QPushButton::clicked, this, &PreviewWidget::closed);
  // Shortcuts, so that the scroll area does not take the page keys.
  const auto key = [this](QKeySequence seq, auto fn) {
    auto* s = new QShortcut(seq, this);
    s->setContext(Qt::WidgetWithChildrenShortcut);
    connect(s, &QShortcut::activated, this, fn);
  };
  key(QKeySequence(Qt::Key_PageDown), [this] { ShowPage(page_ + 1); });
  key(QKeySequence(Qt::Key_PageUp), [this] { ShowPage(page_ - 1); });
  key(QKeySequence(Qt::CTRL | Qt::Key_Home), [this] { ShowPage(1); });
  key(QKeySequence(Qt::CTRL | Qt::Key_End), [this] { ShowPage(pages_); });
  key(QKeySequence(Qt::Key_Escape), [this] { emit closed(); });
  setFocusPolicy(Qt::StrongFocus);
  setFocusProxy(ret_);
  Render();
}

void PreviewWidget::SetJob(TPrintData* job, int page) {
  job_ = job;
  page_ = page;
  Render();
}

void PreviewWidget::ShowPage(int page) {
  page = std::clamp(page, 1, pages_);
  if (page == page_) return;
  page_ = page;
  Render();
  emit pageChanged(page_);
}

void PreviewWidget::Render() {
  {
    ImageSurface surface(image_);
    if (job_) {
      pages_ = PreviewPageCount(*job_, surface);
      page_ = std::clamp(page_, 1, pages_);
      DrawPreview(*job_, surface, page_);
    } else {
      pages_ = 1;
      page_ = 1;
      surface.Clear();
    }
  }
  imageLabel_->setPixmap(QPixmap::fromImage(image_));
  imageLabel_->adjustSize();
  pageLabel_->setText(PageText(page_, pages_));
  first_->setEnabled(page_ > 1);
  prev_->setEnabled(page_ > 1);
  next_->setEnabled(page_ < pages_);
  last_->setEnabled(page_ < pages_);
}

}  // namespace print
