#include "editor/SectionsPageWidget.h"

#include <QApplication>
#include <QButtonGroup>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/Codec.h"
#include "ui/QtDialogs.h"
#include "ui/Translate.h"

namespace editor {
namespace {

bool IsEnter(const QKeyEvent* e) { return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter; }
bool Within(const QWidget* w, const QWidget* area) { return w && (w == area || area->isAncestorOf(w)); }

}  // namespace

SectionsPageWidget::SectionsPageWidget(TView& view, QWidget* overlayHost, QWidget* parent)
    : QWidget(parent), v_(view), host_(overlayHost) {
  setObjectName(QStringLiteral("ExtTab"));
  BuildPage();
  BuildPanel();
  SetCaptions();
  host_->installEventFilter(this);
  connect(qApp, &QApplication::focusChanged, this, &SectionsPageWidget::OnFocusChanged);
}

template <typename F>
void SectionsPageWidget::Run(F&& handler) {
  if (running_) return;
  running_ = true;
  handler();
  running_ = false;
  emit handlerRan();
}

void SectionsPageWidget::BuildPage() {
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(4, 4, 4, 4);
  outer->setSpacing(4);

  auto* box = new QGroupBox(this);
  box->setObjectName(QStringLiteral("RadioSecs"));
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(6, 2, 6, 4);
  grid->setHorizontalSpacing(12);
  grid->setVerticalSpacing(0);
  radioGroup_ = new QButtonGroup(this);
  radioGroup_->setExclusive(true);
  // Two columns, filled top to bottom.
  for (int i = 0; i < 18; ++i) {
    auto* r = new QRadioButton(box);
    r->setObjectName(QStringLiteral("RadioSecs%1").arg(i));
    radioGroup_->addButton(r, i);
    grid->addWidget(r, i % 9, i / 9);
    radios_[static_cast<std::size_t>(i)] = r;
  }
  outer->addWidget(box);
  connect(radioGroup_, &QButtonGroup::idClicked, this, [this](int id) {
    if (updating_) return;
    Run([this, id] {
      v_.RadioSecsIndex = id;
      v_.RadioSecsClick();
    });
  });

  auto* strip = new QFrame(this);
  strip->setObjectName(QStringLiteral("Panel2"));
  strip->setFrameShape(QFrame::StyledPanel);
  auto* sl = new QHBoxLayout(strip);
  sl->setContentsMargins(6, 2, 2, 2);
  panel2Caption_ = new QLabel(strip);
  sl->addWidget(panel2Caption_);
  secName_ = new QLabel(strip);
  secName_->setObjectName(QStringLiteral("SecName"));
  QFont bold = secName_->font();
  bold.setBold(true);
  secName_->setFont(bold);
  sl->addWidget(secName_, 1);
  addSec_ = new QPushButton(strip);
  addSec_->setObjectName(QStringLiteral("AddSec"));
  sl->addWidget(addSec_);
  outer->addWidget(strip);
  connect(addSec_, &QPushButton::clicked, this, [this] { Run([this] { v_.AddSecClick(); }); });

  secView_ = new QTreeWidget(this);
  secView_->setObjectName(QStringLiteral("SecView"));
  secView_->setRootIsDecorated(false);
  secView_->setItemsExpandable(false);
  secView_->setUniformRowHeights(true);
  secView_->setAllColumnsShowFocus(true);
  secView_->setSelectionBehavior(QAbstractItemView::SelectRows);
  secView_->setSelectionMode(QAbstractItemView::SingleSelection);
  secView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  secView_->header()->setStretchLastSection(false);
  secView_->header()->setSectionsClickable(false);
  secView_->installEventFilter(this);
  outer->addWidget(secView_, 1);
  auto open = [this](const QModelIndex& index) {
    if (updating_) return;
    Run([this, index] {
      v_.SecViewIndex = index.isValid() ? index.row() : -1;
      v_.SecViewClick();
    });
  };
  connect(secView_, &QTreeWidget::clicked, this, open);
  connect(secView_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            if (!updating_) v_.SecViewIndex = current.isValid() ? current.row() : -1;
          });
  setTabOrder(radios_[0], addSec_);
  setTabOrder(addSec_, secView_);
}

void SectionsPageWidget::BuildPanel() {
  edPanel_ = new QFrame(host_);
  edPanel_->setObjectName(QStringLiteral("EdPanel"));
  edPanel_->setFrameShape(QFrame::Box);
  edPanel_->setFrameShadow(QFrame::Plain);
  edPanel_->setAutoFillBackground(true);
  // Enter in an edit parks the focus on the panel itself.
  edPanel_->setFocusPolicy(Qt::ClickFocus);
  edPanel_->installEventFilter(this);
  auto* g = new QGridLayout(edPanel_);
  g->setContentsMargins(8, 6, 8, 6);
  g->setHorizontalSpacing(8);
  g->setVerticalSpacing(3);
  label1_ = new QLabel(edPanel_);
  label1_->setObjectName(QStringLiteral("Label1"));
  lb00_ = new QLabel(edPanel_);
  lb00_->setObjectName(QStringLiteral("lb00"));
  QFont bold = lb00_->font();
  bold.setBold(true);
  lb00_->setFont(bold);
  g->addWidget(label1_, 0, 0);
  g->addWidget(lb00_, 0, 1);
  lb01_ = new QLabel(edPanel_);
  lb01_->setObjectName(QStringLiteral("lb01"));
  ed01_ = new QLineEdit(edPanel_);
  ed01_->setObjectName(QStringLiteral("Ed01"));
  g->addWidget(lb01_, 1, 0);
  g->addWidget(ed01_, 1, 1);
  for (int i = 0; i < 7; ++i) {
    auto* l = new QLabel(edPanel_);
    l->setObjectName(QStringLiteral("lb%1").arg(i));
    auto* e = new QLineEdit(edPanel_);
    e->setObjectName(QStringLiteral("Ed%1").arg(i));
    g->addWidget(l, i + 2, 0);
    g->addWidget(e, i + 2, 1);
    lbs_[static_cast<std::size_t>(i)] = l;
    eds_[static_cast<std::size_t>(i)] = e;
  }
  g->setColumnStretch(1, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  addSecOK_ = new QPushButton(edPanel_);
  addSecOK_->setObjectName(QStringLiteral("AddSecOK"));
  delSec_ = new QPushButton(edPanel_);
  delSec_->setObjectName(QStringLiteral("DelSec"));
  buttons->addWidget(addSecOK_);
  buttons->addWidget(delSec_);
  g->addLayout(buttons, 9, 0, 1, 2);

  QLineEdit* all[8] = {ed01_, eds_[0], eds_[1], eds_[2], eds_[3], eds_[4], eds_[5], eds_[6]};
  for (int k = 0; k < 8; ++k) {
    QLineEdit* e = all[k];
    e->installEventFilter(this);
    connect(e, &QLineEdit::textEdited, this,
            [this, e, k](const QString& text) { CheckEdit(e, lastGood_[static_cast<std::size_t>(k)], text); });
    if (k > 0) setTabOrder(all[k - 1], e);
  }
  setTabOrder(all[7], addSecOK_);
  setTabOrder(addSecOK_, delSec_);
  connect(addSecOK_, &QPushButton::clicked, this, [this] {
    PushFields();
    Run([this] { v_.AddSecOKClick(); });
  });
  connect(delSec_, &QPushButton::clicked, this, [this] {
    PushFields();
    Run([this] { v_.DelSecClick(); });
  });
  edPanel_->hide();
}

void SectionsPageWidget::SetCaptions() {
  const ViewCaptions& c = v_.Captions;
  static_cast<QGroupBox*>(radios_[0]->parentWidget())->setTitle(ui::Tr(ui::ctx::kEditor, c.RadioSecs));
  for (std::size_t i = 0; i < radios_.size(); ++i)
    radios_[i]->setText(i < v_.RadioSecsItems.size() ? ui::Tr(ui::ctx::kEditor, v_.RadioSecsItems[i]) : QString());
  panel2Caption_->setText(ui::Tr(ui::ctx::kEditor, c.Panel2) + QLatin1Char(':'));
  addSec_->setText(ui::Tr(ui::ctx::kEditor, c.AddSec));
  label1_->setText(ui::Tr(ui::ctx::kEditor, c.Label1));
  addSecOK_->setText(ui::TrText(ui::ctx::kEditor, QStringLiteral("OK(&Y)")));
  delSec_->setText(QString::fromUtf8("\xe5\x89\x8a\xe9\x99\xa4(&D)"));  // 削除(&D)
}

void SectionsPageWidget::RebuildTable() {
  secView_->clear();
  const int cols = static_cast<int>(v_.SecViewColumns.size());
  secView_->setColumnCount(std::max(cols, 1));
  QStringList titles;
  for (const std::string& t : v_.SecViewColumns) titles << ui::Tr(ui::ctx::kSectionFields, t);
  secView_->setHeaderLabels(titles);
  QList<QTreeWidgetItem*> items;
  items.reserve(static_cast<int>(v_.SecViewRows.size()));
  for (const auto& row : v_.SecViewRows) {
    auto* item = new QTreeWidgetItem;
    for (int c = 0; c < cols && c < static_cast<int>(row.size()); ++c)
      item->setText(c, codec::ToQt(row[static_cast<std::size_t>(c)]));
    items << item;
  }
  secView_->addTopLevelItems(items);
  // The first column as wide as its title, the others as their contents.
  QHeaderView* h = secView_->header();
  for (int c = 0; c < cols; ++c) {
    h->setSectionResizeMode(c, QHeaderView::Interactive);
    if (c == 0)
      h->resizeSection(0, h->fontMetrics().horizontalAdvance(titles.value(0)) + 16);
    else
      secView_->resizeColumnToContents(c);
  }
  revision_ = v_.SecViewRevision;
}

void SectionsPageWidget::RefreshFromLogic() {
  updating_ = true;
  if (QAbstractButton* b = radioGroup_->button(v_.RadioSecsIndex); b && !b->isChecked()) b->setChecked(true);
  secName_->setText(codec::ToQt(v_.SecName));
  addSec_->setEnabled(v_.CurCard && !v_.ReadOnly);
  if (v_.SecViewRevision != revision_) RebuildTable();
  const int row = v_.SecViewIndex;
  const QModelIndex cur = secView_->currentIndex();
  if (row >= 0 && row < secView_->topLevelItemCount()) {
    if (!cur.isValid() || cur.row() != row) secView_->setCurrentItem(secView_->topLevelItem(row));
  } else if (cur.isValid()) {
    secView_->setCurrentIndex(QModelIndex());
    secView_->clearSelection();
  }

  const bool opening = v_.EdPanelVisible && !edPanel_->isVisible();
  const bool hadFocus = Within(QApplication::focusWidget(), edPanel_);
  if (v_.EdPanelVisible) {
    lb00_->setText(codec::ToQt(v_.Lb00));
    lb01_->setText(ui::Tr(ui::ctx::kSectionFields, v_.Lb01));
    for (int k = 0; k < 8; ++k) {
      QLineEdit* e = k == 0 ? ed01_ : eds_[static_cast<std::size_t>(k - 1)];
      const std::string& m = k == 0 ? v_.Ed01 : v_.Ed[k - 1];
      auto& shown = shown_[static_cast<std::size_t>(k)];
      if (opening || m != shown) {
        const QString t = codec::ToQt(m);
        e->setText(t);
        e->setCursorPosition(0);
        lastGood_[static_cast<std::size_t>(k)] = t;
        shown = m;
      }
      e->setReadOnly(v_.ReadOnly);
      if (k > 0) {
        const bool on = v_.EdShown[k - 1];
        e->setVisible(on);
        lbs_[static_cast<std::size_t>(k - 1)]->setVisible(on);
        lbs_[static_cast<std::size_t>(k - 1)]->setText(ui::Tr(ui::ctx::kSectionFields, v_.Lb[k - 1]));
      }
    }
    addSecOK_->setVisible(v_.AddSecOKVisible);
    delSec_->setVisible(v_.DelSecVisible);
    delSec_->setEnabled(!v_.ReadOnly);
    PlacePanel();
    edPanel_->show();
    edPanel_->raise();
  } else if (edPanel_->isVisible()) {
    edPanel_->hide();
    if (hadFocus) secView_->setFocus(Qt::OtherFocusReason);
  }
  updating_ = false;

  if (v_.FocusRequest == ViewFocus::EdPanel) {
    v_.FocusRequest = ViewFocus::None;
    if (edPanel_->isVisible()) {
      // Opening: straight into the identifier; Enter: the panel itself.
      if (opening)
        ed01_->setFocus(Qt::OtherFocusReason);
      else
        edPanel_->setFocus(Qt::OtherFocusReason);
    }
  }
}

void SectionsPageWidget::PlacePanel() {
  edPanel_->adjustSize();
  const int w = std::max(host_->width() - 8, 100);
  const int h = edPanel_->sizeHint().height();
  int y = secView_->mapTo(host_, QPoint(0, 0)).y();
  y = std::max(0, std::min(y, host_->height() - h - 4));
  edPanel_->setGeometry(4, y, w, h);
}

void SectionsPageWidget::PushFields() {
  for (int k = 0; k < 8; ++k) {
    QLineEdit* e = k == 0 ? ed01_ : eds_[static_cast<std::size_t>(k - 1)];
    std::string& m = k == 0 ? v_.Ed01 : v_.Ed[k - 1];
    if (auto bytes = codec::FromQtKeeping(e->text(), m)) m = std::move(*bytes);
    shown_[static_cast<std::size_t>(k)] = m;
  }
}

bool SectionsPageWidget::PanelDirty() const {
  if (!edPanel_->isVisible()) return false;
  for (int k = 0; k < 8; ++k) {
    const QLineEdit* e = k == 0 ? ed01_ : eds_[static_cast<std::size_t>(k - 1)];
    if (e->text() != codec::ToQt(shown_[static_cast<std::size_t>(k)])) return true;
  }
  return false;
}

void SectionsPageWidget::OnFocusChanged(QWidget* old, QWidget* now) {
  if (updating_ || running_ || !v_.EdPanelVisible) return;
  // Leaving the panel for another control takes it over; losing the focus
  // to nothing is the window's deactivation (FormLostFocus does it).
  if (Within(old, edPanel_) && now && !Within(now, edPanel_) && now->window() == host_) {
    PushFields();
    Run([this] { v_.EdPanelExit(); });
  }
}

void SectionsPageWidget::CheckEdit(QLineEdit* e, QString& lastGood, const QString& text) {
  QString bad;
  if (codec::FromQt(text, &bad)) {
    lastGood = text;
    return;
  }
  const int pos = static_cast<int>(e->cursorPosition() - (text.size() - lastGood.size()));
  e->setText(lastGood);
  e->setCursorPosition(std::clamp(pos, 0, static_cast<int>(lastGood.size())));
  QTimer::singleShot(0, this, [this, bad] { app::ShowRefusal(this, bad); });
}

bool SectionsPageWidget::eventFilter(QObject* watched, QEvent* event) {
  if (watched == host_ && event->type() == QEvent::Resize && edPanel_->isVisible()) PlacePanel();
  if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
  const auto* ke = static_cast<QKeyEvent*>(event);
  if (watched == secView_ && (IsEnter(ke) || ke->key() == Qt::Key_Space)) {
    const QModelIndex cur = secView_->currentIndex();
    Run([this, cur] {
      v_.SecViewIndex = cur.isValid() ? cur.row() : -1;
      v_.SecViewClick();
    });
    return true;
  }
  if (!Within(qobject_cast<QWidget*>(watched), edPanel_)) return QWidget::eventFilter(watched, event);
  if (ke->key() == Qt::Key_Escape) {
    // Closes the panel without taking anything over.
    Run([this] { v_.EdPanelCancel(); });
    return true;
  }
  if (IsEnter(ke) && qobject_cast<QLineEdit*>(watched)) {
    if (v_.EdPanelKeyPress('\r')) {
      Run([] {});
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace editor
