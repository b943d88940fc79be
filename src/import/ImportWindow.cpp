#include "import/ImportWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "platform/Sjis.h"
#include "ui/Codec.h"
#include "ui/Translate.h"

namespace imp {

namespace {

QPushButton* MakeButton(QWidget* parent, const char* name, const std::string& caption) {
  auto* b = new QPushButton(ui::Tr(ui::ctx::kImport, caption), parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setAutoDefault(false);
  return b;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const std::string& caption) {
  auto* l = new QLabel(ui::Tr(ui::ctx::kImport, caption), parent);
  l->setObjectName(QString::fromLatin1(name));
  return l;
}

}  // namespace

ImportWindow::ImportWindow(TImportForm& form, QWidget* parent) : QDialog(parent), form_(form) {
  setObjectName(QStringLiteral("ImportForm"));
  setWindowTitle(ui::Tr(ui::ctx::kImport, form.Caption));
  setModal(true);
  const ImportCaptions& c = form.Captions;

  // ---- left column ----
  endBtn_ = MakeButton(this, "EndBtn", c.EndBtn);
  selectFile_ = MakeButton(this, "SelectFile", c.SelectFile);
  exect_ = MakeButton(this, "Exect", c.Exect);
  chooseFolder_ = MakeButton(this, "ChooseFolder", c.ChooseFolder);

  optionPnl_ = new QWidget(this);
  optionPnl_->setObjectName(QStringLiteral("OptionPnl"));
  auto* label2 = MakeLabel(optionPnl_, "Label2", c.Label2);
  upBtn_ = MakeButton(optionPnl_, "UpBtn", c.UpBtn);
  downBtn_ = MakeButton(optionPnl_, "DownBtn", c.DownBtn);
  auto* label1 = MakeLabel(optionPnl_, "Label1", c.Label1);
  recNo_ = new QSpinBox(optionPnl_);
  recNo_->setObjectName(QStringLiteral("RecNo"));
  recNo_->setRange(1, kMaxRecNo);
  recNo_->setKeyboardTracking(false);
  label1->setBuddy(recNo_);
  auto* pnl = new QVBoxLayout(optionPnl_);
  pnl->setContentsMargins(0, 0, 0, 0);
  pnl->addWidget(label2);
  auto* upDown = new QHBoxLayout;
  upDown->addWidget(upBtn_);
  upDown->addWidget(downBtn_);
  pnl->addLayout(upDown);
  pnl->addWidget(label1);
  pnl->addWidget(recNo_);

  auto* encLabel = MakeLabel(this, "EncodingLabel", c.Encoding);
  encoding_ = new QComboBox(this);
  encoding_->setObjectName(QStringLiteral("Encoding"));
  encoding_->addItem(ui::TrText(ui::ctx::kImport, QStringLiteral("Auto")));
  encoding_->addItem(QStringLiteral("Shift-JIS"));
  encoding_->addItem(QStringLiteral("UTF-8"));
  encLabel->setBuddy(encoding_);
  encodingChosen_ = MakeLabel(this, "EncodingChosen", "");

  prItem_ = new QListWidget(this);
  prItem_->setObjectName(QStringLiteral("PrItem"));
  for (const char* label : kTargetLabels) prItem_->addItem(ui::Tr(ui::ctx::kImport, label));
  prItem_->installEventFilter(this);
  prItem_->hide();

  auto* left = new QVBoxLayout;
  left->addWidget(endBtn_);
  left->addWidget(selectFile_);
  left->addWidget(exect_);
  left->addSpacing(8);
  left->addWidget(optionPnl_);
  left->addWidget(encLabel);
  left->addWidget(encoding_);
  left->addWidget(encodingChosen_);
  left->addWidget(chooseFolder_);
  left->addWidget(prItem_, 1);
  left->addStretch(0);

  // ---- right column ----
  auto* templateSel = new QGroupBox(ui::Tr(ui::ctx::kImport, c.TemplateSel), this);
  templateSel->setObjectName(QStringLiteral("TemplateSel"));
  auto* tl = new QVBoxLayout(templateSel);
  auto* group = new QButtonGroup(this);
  for (int i = 0; i < kTemplateCount; ++i) {
    templates_[static_cast<std::size_t>(i)] =
        new QRadioButton(ui::Tr(ui::ctx::kImport, kTemplateItems[static_cast<std::size_t>(i)]), templateSel);
    templates_[static_cast<std::size_t>(i)]->setObjectName(QStringLiteral("Template%1").arg(i));
    group->addButton(templates_[static_cast<std::size_t>(i)], i);
    tl->addWidget(templates_[static_cast<std::size_t>(i)]);
  }
  auto* strip = new QHBoxLayout;
  strip->addWidget(MakeLabel(this, "FileLabel", c.FileStrip));
  inFileName_ = MakeLabel(this, "InFileName", "");
  inFileName_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  strip->addWidget(inFileName_, 1);

  importItem_ = new QTreeWidget(this);
  importItem_->setObjectName(QStringLiteral("ImportItem"));
  importItem_->setColumnCount(2);
  importItem_->setHeaderLabels({ui::Tr(ui::ctx::kImport, c.SourceColumn), ui::Tr(ui::ctx::kImport, c.TargetColumn)});
  importItem_->setRootIsDecorated(false);
  importItem_->setAllColumnsShowFocus(true);
  importItem_->setSelectionMode(QAbstractItemView::SingleSelection);
  importItem_->header()->resizeSection(0, 140);
  importItem_->header()->resizeSection(1, 85);
  // Grid lines between the rows; a style sheet on items must then paint
  // the selection itself.
  importItem_->setStyleSheet(QStringLiteral(
      "QTreeWidget::item { border-bottom: 1px solid palette(midlight); border-right: 1px solid palette(midlight); }"
      "QTreeWidget::item:selected { background: palette(highlight); color: palette(highlighted-text); }"));
  importItem_->installEventFilter(this);

  memo_ = new QPlainTextEdit(this);
  memo_->setObjectName(QStringLiteral("Memo1"));
  memo_->setReadOnly(true);
  memo_->setLineWrapMode(QPlainTextEdit::NoWrap);

  auto* right = new QVBoxLayout;
  right->addWidget(templateSel);
  right->addLayout(strip);
  right->addWidget(importItem_, 1);
  right->addWidget(memo_, 1);

  auto* outer = new QHBoxLayout(this);
  outer->setContentsMargins(8, 8, 8, 8);
  outer->addLayout(left, 0);
  outer->addLayout(right, 1);

  // ---- events ----
  connect(endBtn_, &QPushButton::clicked, this, [this] {
    if (!running_) accept();
  });
  connect(group, &QButtonGroup::idClicked, this, [this](int t) { Run([this, t] { form_.TemplateSelClick(t); }); });
  connect(selectFile_, &QPushButton::clicked, this, [this] { Run([this] { form_.SelectFileClick(); }); });
  connect(chooseFolder_, &QPushButton::clicked, this, [this] { Run([this] { form_.ChooseFolderClick(); }); });
  connect(exect_, &QPushButton::clicked, this, &ImportWindow::Execute);
  connect(upBtn_, &QPushButton::clicked, this, [this] {
    Run([this] { form_.UpBtnClick(); });
    importItem_->setFocus();
  });
  connect(downBtn_, &QPushButton::clicked, this, [this] {
    Run([this] { form_.DownBtnClick(); });
    importItem_->setFocus();
  });
  connect(recNo_, &QSpinBox::valueChanged, this, [this](int v) {
    if (!updating_) Run([this, v] { form_.RecNoChange(v); });
  });
  connect(encoding_, &QComboBox::currentIndexChanged, this, [this](int i) {
    if (updating_) return;
    const Encoding e = i == 1 ? Encoding::Cp932 : i == 2 ? Encoding::Utf8 : Encoding::Auto;
    Run([this, e] { form_.EncodingChange(e); });
  });
  connect(importItem_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* cur) {
    if (!updating_) form_.SelectedRow = cur ? importItem_->indexOfTopLevelItem(cur) : -1;
  });
  connect(importItem_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int) {
    const int row = importItem_->indexOfTopLevelItem(item);
    Run([this, row] { form_.ImportItemClick(row); });
  });
  connect(importItem_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int col) {
    if (updating_ || col != 0) return;
    form_.CheckRow(importItem_->indexOfTopLevelItem(item), item->checkState(0) == Qt::Checked);
  });
  connect(prItem_, &QListWidget::itemActivated, this, [this] { PrItemDone(); });
  connect(prItem_, &QListWidget::itemClicked, this, [this] { PrItemDone(); });

  RefreshFromLogic();
  templates_[0]->setFocus();
}

template <typename F>
void ImportWindow::Run(F&& handler) {
  if (running_) return;
  handler();
  RefreshFromLogic();
}

void ImportWindow::reject() {
  if (!running_) QDialog::reject();
}

void ImportWindow::closeEvent(QCloseEvent* event) {
  if (running_)
    event->ignore();
  else
    QDialog::closeEvent(event);
}

void ImportWindow::PrItemDone() {
  if (running_ || !prItem_->isVisible()) return;
  const int index = prItem_->currentRow();
  Run([this, index] { form_.PrItemExit(index); });
  importItem_->setFocus();
}

void ImportWindow::Execute() {
  if (running_) return;
  // The progress dialog blocks the rest of the program while events are
  // processed; the run asks it after every thousand lines.
  QProgressDialog progress(ui::TrText(ui::ctx::kImport, QStringLiteral("Importing...")),
                           ui::TrText(ui::ctx::kImport, QStringLiteral("Cancel")), 0, 1000, this);
  progress.setObjectName(QStringLiteral("ImportProgress"));
  progress.setWindowModality(Qt::ApplicationModal);
  progress.setMinimumDuration(progressDelayMs_);
  progress.setAutoClose(false);
  progress.setAutoReset(false);
  progress.setValue(0);
  form_.Progress = [&progress](std::uint64_t done, std::uint64_t total) {
    progress.setValue(total ? static_cast<int>(done * 1000 / total) : 0);
    QApplication::processEvents();
    return !progress.wasCanceled();
  };
  running_ = true;
  form_.ExectClick();
  running_ = false;
  form_.Progress = nullptr;
  progress.close();
  RefreshFromLogic();
  emit imported();
}

void ImportWindow::RefreshFromLogic() {
  updating_ = true;
  const TImportForm& f = form_;
  for (int i = 0; i < kTemplateCount; ++i) templates_[static_cast<std::size_t>(i)]->setChecked(f.Template == i);
  if (f.Template < 0) {
    // No template selected: a button group would keep one checked.
    for (QRadioButton* r : templates_) {
      r->setAutoExclusive(false);
      r->setChecked(false);
      r->setAutoExclusive(true);
    }
  }
  selectFile_->setEnabled(f.SelectFileEnabled);
  chooseFolder_->setVisible(f.FolderVisible);
  optionPnl_->setVisible(f.OptionPnlVisible);
  optionPnl_->setEnabled(f.OptionPnlEnabled);
  recNo_->setValue(f.RecNo);
  encoding_->setCurrentIndex(f.EncodingWanted == Encoding::Cp932 ? 1 : f.EncodingWanted == Encoding::Utf8 ? 2 : 0);
  encodingChosen_->setText(f.FileName.empty() && !f.FolderVisible
                               ? QString()
                               : QStringLiteral("(%1)").arg(QString::fromLatin1(EncodingName(f.EncodingChosen))));
  inFileName_->setText(codec::ToQt(f.InFileName));
  importItem_->setVisible(f.ImportItemVisible);
  memo_->setVisible(f.MemoVisible);
  const QString memo = codec::MemoToQt(f.Memo);
  if (memo_->toPlainText() != memo) memo_->setPlainText(memo);

  // The mapping rows: rebuilt when their number changes, else updated.
  while (importItem_->topLevelItemCount() > static_cast<int>(f.Rows.size()))
    delete importItem_->takeTopLevelItem(importItem_->topLevelItemCount() - 1);
  while (importItem_->topLevelItemCount() < static_cast<int>(f.Rows.size())) {
    auto* item = new QTreeWidgetItem(importItem_);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
  }
  for (std::size_t i = 0; i < f.Rows.size(); ++i) {
    QTreeWidgetItem* item = importItem_->topLevelItem(static_cast<int>(i));
    // A field of a runaway line can be megabytes long: show its start.
    item->setText(0, codec::ToQt(sjis::CutWidth(f.Rows[i].Caption, 512)));
    item->setText(1, ui::Tr(ui::ctx::kImport, f.Rows[i].Target));
    item->setCheckState(0, f.Rows[i].Checked ? Qt::Checked : Qt::Unchecked);
  }
  if (f.SelectedRow >= 0 && f.SelectedRow < importItem_->topLevelItemCount())
    importItem_->setCurrentItem(importItem_->topLevelItem(f.SelectedRow));
  else
    importItem_->clearSelection();

  prItem_->setCurrentRow(f.PrItemIndex);
  if (f.PrItemVisible != prItem_->isVisible()) {
    prItem_->setVisible(f.PrItemVisible);
    if (f.PrItemVisible) prItem_->setFocus();
  }
  updating_ = false;
}

bool ImportWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == prItem_) {
    if (event->type() == QEvent::FocusOut) {
      PrItemDone();
    } else if (event->type() == QEvent::KeyPress) {
      auto* k = static_cast<QKeyEvent*>(event);
      if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
        PrItemDone();
        return true;
      }
      if (k->key() == Qt::Key_Escape) {
        // Leave the row as it was.
        prItem_->setCurrentRow(form_.PrItemIndex);
        PrItemDone();
        return true;
      }
    }
  } else if (watched == importItem_ && event->type() == QEvent::KeyPress) {
    auto* k = static_cast<QKeyEvent*>(event);
    if ((k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) && importItem_->currentItem()) {
      const int row = importItem_->indexOfTopLevelItem(importItem_->currentItem());
      Run([this, row] { form_.ImportItemClick(row); });
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace imp
