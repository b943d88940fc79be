#include "print/PrintSetupWindow.h"

#include <QApplication>
#include <QMouseEvent>
#include <QButtonGroup>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

#include "print/PreviewWidget.h"
#include "ui/Codec.h"
#include "ui/Translate.h"
#include "ui/QtImages.h"
#include "ui/QtPrinter.h"

namespace print {

// A column panel: shows its item's key name, its width in cells as the
// tooltip, and reports clicks (mouse, or Space/Enter when it has the focus).
class PanelLabel : public QLabel {
 public:
  PanelLabel(int tag, QWidget* parent) : QLabel(parent), tag_(tag) {
    setObjectName(QStringLiteral("Pr_Form%1").arg(tag));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setAlignment(Qt::AlignCenter);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumWidth(4);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setAutoFillBackground(true);
  }
  std::function<void(int)> onClick;

 protected:
  void mousePressEvent(QMouseEvent* e) override {
    // Taken here: the panel behind it would end the choice again.
    e->accept();
    if (onClick) onClick(tag_);
  }
  void keyPressEvent(QKeyEvent* e) override {
    if ((e->key() == Qt::Key_Space || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && onClick) {
      onClick(tag_);
      return;
    }
    QLabel::keyPressEvent(e);
  }

 private:
  int tag_;
};

namespace {

QPushButton* MakeButton(QWidget* parent, const char* name, const std::string& caption) {
  auto* b = new QPushButton(ui::Tr(ui::ctx::kPrint, caption), parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setAutoDefault(false);
  return b;
}

// "\r\n" in a caption breaks the label's line.
QString Lines(const std::string& caption) { return ui::Tr(ui::ctx::kPrint, caption); }

}  // namespace

PrintSetupWindow::PrintSetupWindow(TPrintSetup& logic, QWidget* parent) : QDialog(parent), logic_(logic) {
  setObjectName(QStringLiteral("PrintSetup"));
  setWindowTitle(ui::Tr(ui::ctx::kPrint, logic.Caption));
  setModal(true);
  ownChooser_ = std::make_unique<app::QtPrinterChooser>(this);
  logic_.Chooser = ownChooser_.get();
  logic_.Host = this;
  BuildWidgets();
  resize(520, 560);
}

PrintSetupWindow::~PrintSetupWindow() {
  // The preview must not draw a job the logic frees.
  preview_->SetJob(nullptr);
  if (logic_.Host == this) logic_.Host = nullptr;
  if (logic_.Chooser == ownChooser_.get()) logic_.Chooser = nullptr;
}

void PrintSetupWindow::SetChooser(PrinterChooser* chooser) { logic_.Chooser = chooser; }

QWidget* PrintSetupWindow::columnPanel(int row, int col) const {
  return panels_[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(col - 1)];
}

void PrintSetupWindow::BuildWidgets() {
  const PrintSetupCaptions& c = logic_.Captions;
  stack_ = new QStackedWidget(this);
  // Lies over the address grid: as narrow as the controls allow, not as
  // wide as the preview page would like.
  stack_->setMinimumSize(360, 400);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(stack_);

  auto* page = new QWidget(stack_);
  page->setObjectName(QStringLiteral("Panel1"));
  panel1_ = page;
  stack_->addWidget(page);
  auto* v = new QVBoxLayout(page);
  v->setContentsMargins(8, 8, 8, 8);

  // The buttons.
  endBtn_ = MakeButton(page, "EndBtn", c.EndBtn);
  execPrint_ = MakeButton(page, "ExecPrint", c.ExecPrint);
  sendToFile_ = MakeButton(page, "SendToFile", c.SendToFile);
  sendToClip_ = MakeButton(page, "SendToClip", c.SendToClip);
  preViewBtn_ = MakeButton(page, "PreViewBtn", c.PreViewBtn);
  cancel_ = MakeButton(page, "Cancel", c.Cancel);
  pageMessage_ = new QLabel(page);
  pageMessage_->setObjectName(QStringLiteral("PageMessage"));
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {execPrint_, sendToFile_, sendToClip_, preViewBtn_, cancel_}) buttons->addWidget(b);
  buttons->addStretch(1);
  buttons->addWidget(endBtn_);
  v->addLayout(buttons);

  // Target and format.
  auto* printMode = new QGroupBox(ui::Tr(ui::ctx::kPrint, c.PrintMode), page);
  printMode->setObjectName(QStringLiteral("PrintMode"));
  auto* pm = new QVBoxLayout(printMode);
  radioPrintView_ = new QRadioButton(ui::Tr(ui::ctx::kPrint, c.RadioPrintView), printMode);
  radioPrintView_->setObjectName(QStringLiteral("RadioPrintView"));
  radioPrintAll_ = new QRadioButton(ui::Tr(ui::ctx::kPrint, c.RadioPrintAll), printMode);
  radioPrintAll_->setObjectName(QStringLiteral("RadioPrintAll"));
  pm->addWidget(radioPrintView_);
  pm->addWidget(radioPrintAll_);
  auto* printForm = new QGroupBox(ui::Tr(ui::ctx::kPrint, c.PrintForm), page);
  printForm->setObjectName(QStringLiteral("PrintForm"));
  auto* pf = new QVBoxLayout(printForm);
  auto* formGroup = new QButtonGroup(this);
  for (int i = 0; i < 3; ++i) {
    formRadios_[static_cast<std::size_t>(i)] =
        new QRadioButton(ui::Tr(ui::ctx::kPrint, c.PrintFormItems[static_cast<std::size_t>(i)]), printForm);
    formRadios_[static_cast<std::size_t>(i)]->setObjectName(QStringLiteral("PrintForm%1").arg(i));
    formGroup->addButton(formRadios_[static_cast<std::size_t>(i)], i);
    pf->addWidget(formRadios_[static_cast<std::size_t>(i)]);
  }
  auto* boxes = new QHBoxLayout;
  boxes->addWidget(printMode, 1);
  boxes->addWidget(printForm, 1);
  v->addLayout(boxes);

  // The group check list.
  auto* selectAll = MakeButton(page, "SelectAll", c.SelectAll);
  auto* deSelect = MakeButton(page, "DeSelect", c.DeSelect);
  printGroup_ = new QTreeWidget(page);
  printGroup_->setObjectName(QStringLiteral("PrintGroup"));
  printGroup_->setColumnCount(2);
  printGroup_->setHeaderHidden(true);
  printGroup_->setRootIsDecorated(false);
  printGroup_->setUniformRowHeights(true);
  printGroup_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  printGroup_->setSelectionMode(QAbstractItemView::SingleSelection);
  printGroup_->setIconSize(QSize(images::kImageSize, images::kImageSize));
  printGroup_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  printGroup_->installEventFilter(this);
  auto* selButtons = new QVBoxLayout;
  selButtons->addWidget(selectAll);
  selButtons->addWidget(deSelect);
  selButtons->addStretch(1);
  auto* groups = new QHBoxLayout;
  groups->addLayout(selButtons);
  groups->addWidget(printGroup_, 1);
  v->addLayout(groups, 1);

  // Scale and the layout buttons.
  auto* label1 = new QLabel(ui::Tr(ui::ctx::kPrint, c.Label1), page);
  label1->setObjectName(QStringLiteral("Label1"));
  auto* label2 = new QLabel(ui::Tr(ui::ctx::kPrint, c.Label2), page);
  label2->setObjectName(QStringLiteral("Label2"));
  prScale_ = new QSpinBox(page);
  prScale_->setObjectName(QStringLiteral("PrScale"));
  prScale_->setRange(kMinScale, kMaxScale);
  prScale_->setValue(100);
  label2->setBuddy(prScale_);
  auto* label3 = new QLabel(ui::Tr(ui::ctx::kPrint, c.Label3), page);
  label3->setObjectName(QStringLiteral("Label3"));
  auto* saveBtn = MakeButton(page, "SaveBtn", c.SaveBtn);
  auto* reStoreBtn = MakeButton(page, "ReStoreBtn", c.ReStoreBtn);
  auto* scaleRow = new QHBoxLayout;
  scaleRow->addWidget(label1);
  scaleRow->addStretch(1);
  scaleRow->addWidget(label2);
  scaleRow->addWidget(prScale_);
  scaleRow->addWidget(label3);
  v->addLayout(scaleRow);

  // The layout rows: one framed splitter of four column panels each.
  layoutArea_ = new QWidget(page);
  layoutArea_->setObjectName(QStringLiteral("Panel4"));
  auto* rowsLayout = new QVBoxLayout(layoutArea_);
  rowsLayout->setContentsMargins(0, 0, 0, 0);
  rowsLayout->setSpacing(2);
  for (int r = 1; r <= 4; ++r) {
    auto* frame = new QFrame(layoutArea_);
    frame->setObjectName(QStringLiteral("Pr_Form%1").arg(r));
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    frame->setLineWidth(1);
    frame->setFixedHeight(26);
    auto* fl = new QHBoxLayout(frame);
    fl->setContentsMargins(1, 1, 1, 1);
    fl->setSpacing(0);
    auto* split = new QSplitter(Qt::Horizontal, frame);
    split->setObjectName(QStringLiteral("Splitter%1").arg(r));
    split->setHandleWidth(3);
    split->setChildrenCollapsible(false);
    for (int col = 1; col <= 4; ++col) {
      auto* p = new PanelLabel(r * 10 + col, split);
      p->onClick = [this](int tag) { PanelClicked(tag); };
      split->addWidget(p);
      split->setStretchFactor(col - 1, col == 3 ? 1 : 0);
      panels_[static_cast<std::size_t>(r - 1)][static_cast<std::size_t>(col - 1)] = p;
    }
    fl->addWidget(split);
    connect(split, &QSplitter::splitterMoved, this, [this, r] { TakeSplitter(r); });
    rows_[static_cast<std::size_t>(r - 1)] = frame;
    splitters_[static_cast<std::size_t>(r - 1)] = split;
    rowsLayout->addWidget(frame);
  }
  prForm5_ = new QFrame(layoutArea_);
  prForm5_->setObjectName(QStringLiteral("Pr_Form5"));
  prForm5_->setFrameStyle(QFrame::Box | QFrame::Plain);
  auto* f5 = new QHBoxLayout(prForm5_);
  prForm5Cap1_ = new QLabel(prForm5_);
  prForm5Cap1_->setObjectName(QStringLiteral("Pr_Form5Cap1"));
  prForm5Cap2_ = new QLabel(prForm5_);
  prForm5Cap2_->setObjectName(QStringLiteral("Pr_Form5Cap2"));
  f5->addWidget(prForm5Cap1_, 1);
  f5->addWidget(prForm5Cap2_, 1);
  prForm5_->setFixedHeight(3 * 26 + 4);
  rowsLayout->addWidget(prForm5_);
  rowsLayout->addStretch(1);
  layoutArea_->setMinimumHeight(4 * 28);
  v->addWidget(layoutArea_);
  auto* layoutButtons = new QHBoxLayout;
  layoutButtons->addWidget(saveBtn);
  layoutButtons->addWidget(reStoreBtn);
  layoutButtons->addStretch(1);
  layoutButtons->addWidget(pageMessage_);
  v->addLayout(layoutButtons);
  rows_[0]->installEventFilter(this);
  layoutArea_->installEventFilter(this);
  panel1_->installEventFilter(this);

  // The item list, over the layout rows while an item is chosen.
  prItem_ = new QListWidget(panel1_);
  prItem_->setObjectName(QStringLiteral("PrItem"));
  for (const char* name : ItemNames) prItem_->addItem(ui::Tr(ui::ctx::kPrint, name));
  prItem_->hide();
  prItem_->installEventFilter(this);

  // The preview page.
  preview_ = new PreviewWidget(stack_);
  preview_->setObjectName(QStringLiteral("PreViewPnl"));
  // The preview scrolls; its page buttons must not widen the window.
  preview_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
  stack_->addWidget(preview_);

  // Events -> handlers.
  connect(endBtn_, &QPushButton::clicked, this, [this] {
    if (logic_.Printing) return;
    Run([this] { logic_.CloseClick(); });
    accept();
  });
  connect(execPrint_, &QPushButton::clicked, this, [this] { Run([this] { logic_.ExecPrintClick(); }); });
  connect(sendToFile_, &QPushButton::clicked, this, [this] { Run([this] { logic_.PreViewClick("SendToFile"); }); });
  connect(sendToClip_, &QPushButton::clicked, this, [this] { Run([this] { logic_.PreViewClick("SendToClip"); }); });
  connect(preViewBtn_, &QPushButton::clicked, this, [this] { Run([this] { logic_.PreViewClick("PreViewBtn"); }); });
  // Not through Run: it must work while the print loop runs.
  connect(cancel_, &QPushButton::clicked, this, [this] { logic_.CancelClick(); });
  connect(radioPrintView_, &QRadioButton::toggled, this, [this](bool on) {
    if (!updating_) logic_.RadioPrintView = on;
  });
  connect(formGroup, &QButtonGroup::idClicked, this, [this](int id) { Run([this, id] { logic_.PrintFormClick(id); }); });
  connect(selectAll, &QPushButton::clicked, this, [this] { Run([this] { logic_.SelectAllClick(); }); });
  connect(deSelect, &QPushButton::clicked, this, [this] { Run([this] { logic_.DeSelectClick(); }); });
  connect(printGroup_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
    const int row = printGroup_->indexOfTopLevelItem(item);
    Run([this, row] { logic_.SelectGroupClick(row); });
  });
  connect(prScale_, &QSpinBox::valueChanged, this, [this](int value) {
    if (!updating_) logic_.PrScale = value;
  });
  connect(prScale_, &QSpinBox::editingFinished, this, [this] {
    if (updating_ || !started_) return;
    Run([this] {
      logic_.PrScale = prScale_->value();
      logic_.PrScaleExit();
    });
  });
  connect(saveBtn, &QPushButton::clicked, this, [this] { Run([this] { logic_.SaveBtnClick(); }); });
  connect(reStoreBtn, &QPushButton::clicked, this, [this] { Run([this] { logic_.ReStoreBtnClick(); }); });
  connect(prItem_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (!updating_ && row >= 0) logic_.PrItemIndex = row;
  });
  connect(prItem_, &QListWidget::itemClicked, this, [this] { CloseItemList(true, true); });
  connect(prItem_, &QListWidget::itemActivated, this, [this] { CloseItemList(true, true); });
  connect(preview_, &PreviewWidget::pageChanged, this, [this](int shown) { logic_.PreviewPage = shown; });
  connect(preview_, &PreviewWidget::closed, this, [this] {
    preview_->SetJob(nullptr);
    Run([this] { logic_.PreViewEndClick(); });
  });

  // Tab order: buttons, target, format, groups, scale, layout.
  QWidget::setTabOrder(execPrint_, sendToFile_);
  QWidget::setTabOrder(sendToFile_, sendToClip_);
  QWidget::setTabOrder(sendToClip_, preViewBtn_);
  QWidget::setTabOrder(preViewBtn_, endBtn_);
}

template <typename F>
void PrintSetupWindow::Run(F&& handler) {
  // While the print loop runs only the cancel button acts.
  if (logic_.Printing) return;
  handler();
  RefreshFromLogic();
}

void PrintSetupWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (started_) return;
  started_ = true;
  layout()->activate();
  logic_.RowPanelWidth = rows_[0]->width();
  logic_.FormInit();
  RefreshFromLogic();
}

void PrintSetupWindow::PanelClicked(int tag) {
  Run([this, tag] { logic_.Pr_FormClick(tag); });
}

void PrintSetupWindow::TakeSplitter(int row) {
  if (updating_) return;
  const QList<int> sizes = splitters_[static_cast<std::size_t>(row - 1)]->sizes();
  for (int c = 0; c < 4 && c < sizes.size(); ++c) logic_.PanelWidth[row - 1][c] = sizes[c];
  Run([this] { logic_.SplitterMoved(); });
}

void PrintSetupWindow::CloseItemList(bool keep, bool refocus) {
  if (!logic_.PrItemVisible || updating_) return;
  if (keep) {
    if (prItem_->currentRow() >= 0) logic_.PrItemIndex = prItem_->currentRow();
  } else {
    const int r = logic_.CurPanel / 10, c = logic_.CurPanel % 10;
    if (r >= 1 && r <= 4 && c >= 1 && c <= 4) logic_.PrItemIndex = logic_.CurrentLayout().Item(r, c);
  }
  const int tag = logic_.CurPanel;
  Run([this] { logic_.PrItemExit(); });
  // Back to the panel whose item was chosen, for the keyboard.
  if (refocus && tag / 10 >= 1 && tag / 10 <= 4 && tag % 10 >= 1 && tag % 10 <= 4)
    columnPanel(tag / 10, tag % 10)->setFocus();
}

bool PrintSetupWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == rows_[0] && event->type() == QEvent::Resize && started_ && !updating_) {
    logic_.RowPanelWidth = rows_[0]->width();
    logic_.PanelsResized();
    ApplyPanelWidths();
  } else if (watched == prItem_) {
    if (event->type() == QEvent::FocusOut && prItem_->isVisible()) {
      CloseItemList(true, false);
    } else if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Escape) {
        CloseItemList(false, true);
        return true;
      }
    }
  } else if ((watched == layoutArea_ || watched == panel1_) && event->type() == QEvent::MouseButtonPress) {
    // Panel1 and Panel4 end an item choice.
    Run([this] { logic_.Pr_FormClick(0); });
  } else if (watched == printGroup_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Space) {
      const int row = printGroup_->indexOfTopLevelItem(printGroup_->currentItem());
      Run([this, row] { logic_.SelectGroupClick(row); });
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void PrintSetupWindow::keyPressEvent(QKeyEvent* event) {
  // Esc in the preview closes the preview, not the window.
  if (event->key() == Qt::Key_Escape && logic_.PreviewVisible) {
    preview_->SetJob(nullptr);
    Run([this] { logic_.PreViewEndClick(); });
    return;
  }
  QDialog::keyPressEvent(event);
}

void PrintSetupWindow::reject() {
  if (logic_.Printing) {
    logic_.CancelClick();
    return;
  }
  QDialog::reject();
}

void PrintSetupWindow::ProcessEvents() {
  cancel_->setVisible(logic_.CancelVisible);
  QApplication::processEvents();
}

void PrintSetupWindow::SetPageMessage(const std::string& text) {
  logic_.PageMessage = text;
  cancel_->setVisible(logic_.CancelVisible);
  pageMessage_->setText(ui::Tr(ui::ctx::kPrint, text));
  pageMessage_->repaint();
}

void PrintSetupWindow::ApplyPanelWidths() {
  const bool was = updating_;
  updating_ = true;
  for (int r = 0; r < 4; ++r) {
    QList<int> sizes;
    for (int c = 0; c < 4; ++c) sizes << logic_.PanelWidth[r][c];
    if (splitters_[static_cast<std::size_t>(r)]->sizes() != sizes) splitters_[static_cast<std::size_t>(r)]->setSizes(sizes);
  }
  updating_ = was;
}

void PrintSetupWindow::RefreshGroupList() {
  const auto& rows = logic_.PrintGroup;
  if (printGroup_->topLevelItemCount() != static_cast<int>(rows.size())) {
    printGroup_->clear();
    for (std::size_t i = 0; i < rows.size(); ++i) new QTreeWidgetItem(printGroup_);
  }
  for (std::size_t i = 0; i < rows.size(); ++i) {
    QTreeWidgetItem* item = printGroup_->topLevelItem(static_cast<int>(i));
    item->setText(0, codec::ToQt(rows[i].TreeText));
    item->setIcon(0, QIcon(images::CheckListImage(rows[i].Image)));
    item->setText(1, codec::ToQt(rows[i].Caption));
  }
  if (logic_.PrintGroupRow >= 0 && logic_.PrintGroupRow < printGroup_->topLevelItemCount())
    printGroup_->setCurrentItem(printGroup_->topLevelItem(logic_.PrintGroupRow));
}

void PrintSetupWindow::RefreshFromLogic() {
  const bool was = updating_;
  updating_ = true;
  const TPrintSetup& L = logic_;
  setWindowTitle(ui::Tr(ui::ctx::kPrint, L.Caption));
  execPrint_->setVisible(L.ExecPrintVisible);
  sendToFile_->setVisible(L.SendToFileVisible);
  cancel_->setVisible(L.CancelVisible);
  pageMessage_->setText(ui::Tr(ui::ctx::kPrint, L.PageMessage));
  radioPrintView_->setChecked(L.RadioPrintView);
  radioPrintAll_->setChecked(!L.RadioPrintView);
  if (L.FormatIndex >= 0 && L.FormatIndex < 3) formRadios_[static_cast<std::size_t>(L.FormatIndex)]->setChecked(true);
  RefreshGroupList();
  prScale_->setValue(L.PrScale);
  for (int r = 0; r < 4; ++r) {
    rows_[static_cast<std::size_t>(r)]->setVisible(L.RowVisible[static_cast<std::size_t>(r)]);
    for (int c = 0; c < 4; ++c) {
      PanelLabel* p = panels_[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
      p->setText(codec::ToQt(L.PanelCaption[r][c]));
      p->setToolTip(codec::ToQt(L.PanelHint[r][c]));
      const bool chosen = L.PrItemVisible && L.CurPanel == (r + 1) * 10 + c + 1;
      p->setFrameStyle(QFrame::Panel | (chosen ? QFrame::Sunken : QFrame::Raised));
    }
  }
  prForm5_->setVisible(L.DetailPanelVisible);
  prForm5Cap1_->setText(Lines(L.Pr_Form5Cap1));
  prForm5Cap2_->setText(Lines(L.Pr_Form5Cap2));
  ApplyPanelWidths();

  // The item list opens under the chosen panel.
  if (L.PrItemVisible) {
    const int r = L.CurPanel / 10, c = L.CurPanel % 10;
    if (r >= 1 && r <= 4 && c >= 1 && c <= 4) {
      // Below the panel, or above it when the page ends first.
      QWidget* p = columnPanel(r, c);
      const QPoint at = p->mapTo(panel1_, QPoint(0, p->height()));
      const int w = std::max(150, p->width());
      const int h = std::min(prItem_->sizeHintForRow(0) * kItemCount + 4, panel1_->height());
      int x = std::min(at.x(), std::max(0, panel1_->width() - w));
      int y = at.y();
      if (y + h > panel1_->height()) y = std::max(0, p->mapTo(panel1_, QPoint(0, 0)).y() - h);
      prItem_->setGeometry(x, y, w, h);
    }
    prItem_->setCurrentRow(L.PrItemIndex);
    prItem_->raise();
    if (!prItem_->isVisible()) {
      prItem_->show();
      prItem_->setFocus();
    }
  } else if (prItem_->isVisible()) {
    prItem_->hide();
  }

  // The preview.
  if (L.PreviewVisible && L.PreviewJob) {
    if (stack_->currentWidget() != preview_) {
      preview_->SetJob(L.PreviewJob.get(), L.PreviewPage);
      stack_->setCurrentWidget(preview_);
      preview_->setFocus();
    }
  } else if (stack_->currentWidget() != panel1_) {
    preview_->SetJob(nullptr);
    stack_->setCurrentWidget(panel1_);
    preViewBtn_->setFocus();
  }
  updating_ = was;
}

}  // namespace print
