#include "search/SearchWindow.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/Codec.h"
#include "ui/QtDialogs.h"
#include "ui/Translate.h"

namespace search {
namespace {

// The search button's image: a magnifying glass, drawn so that it stays
// sharp at any screen scale.
QIcon MagnifierIcon(qreal dpr) {
  const int side = 16;
  QPixmap pm(QSize(side, side) * dpr);
  pm.setDevicePixelRatio(dpr);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(40, 40, 40), 1.6));
  p.setBrush(QColor(200, 225, 250));
  p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
  p.setPen(QPen(QColor(90, 60, 30), 3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
  p.end();
  return QIcon(pm);
}

QString Text(const std::string& cp932) { return ui::Tr(ui::ctx::kSearch, cp932); }

}  // namespace

SearchWindow::SearchWindow(TSearchDlg& logic, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint),
      logic_(logic) {
  setObjectName(QStringLiteral("SearchDlg"));
  setModal(true);
  BuildWidgets();
  RefreshFromLogic();
}

void SearchWindow::BuildWidgets() {
  const SearchCaptions& c = logic_.Captions;
  setWindowTitle(Text(c.Caption));

  label1_ = new QLabel(Text(c.Label1), this);
  label1_->setObjectName(QStringLiteral("Label1"));
  findText_ = new QLineEdit(this);
  findText_->setObjectName(QStringLiteral("FindText"));
  findText_->setMinimumWidth(fontMetrics().averageCharWidth() * 36);
  label1_->setBuddy(findText_);
  findText_->installEventFilter(this);
  // Text CP932 cannot hold is refused as it is typed; the field keeps what
  // it held before.
  connect(findText_, &QLineEdit::textEdited, this, [this](const QString& text) {
    QString bad;
    if (codec::FromQt(text, &bad)) return;
    // FindText still holds the last text that could be held.
    findText_->setText(codec::ToQt(logic_.FindText));
    QTimer::singleShot(0, this, [this, bad] { app::ShowRefusal(this, bad); });
  });
  connect(findText_, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (auto bytes = codec::FromQtKeeping(text, logic_.FindText)) logic_.FindText = *bytes;
  });

  searchBtn_ = new QPushButton(MagnifierIcon(devicePixelRatioF()), Text(c.SearchBtn), this);
  searchBtn_->setObjectName(QStringLiteral("SearchBtn"));
  searchBtn_->setDefault(true);
  cancelBtn_ = new QPushButton(Text(c.CancelBtn), this);
  cancelBtn_->setObjectName(QStringLiteral("CancelBtn"));
  connect(searchBtn_, &QPushButton::clicked, this, &SearchWindow::OnSearch);
  connect(cancelBtn_, &QPushButton::clicked, this, &SearchWindow::reject);

  // Tag Select: the check list of the twelve tags.
  tags_ = new QGroupBox(Text(c.tags), this);
  tags_->setObjectName(QStringLiteral("tags"));
  filter_ = new QListWidget(tags_);
  filter_->setObjectName(QStringLiteral("Filter"));
  filter_->setSelectionMode(QAbstractItemView::SingleSelection);
  for (const FilterItem& item : logic_.Filter) {
    auto* it = new QListWidgetItem(Text(item.Text), filter_);
    it->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    it->setCheckState(Qt::Unchecked);
  }
  filter_->setCurrentRow(0);
  // Every item visible without scrolling.
  const int rowH = filter_->sizeHintForRow(0);
  filter_->setMinimumHeight(rowH * kTagCount + 2 * filter_->frameWidth() + 4);
  filter_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
  filter_->setMinimumWidth(filter_->sizeHintForColumn(0) + 2 * filter_->frameWidth() + 12);
  filter_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  filter_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  auto* tagsLayout = new QVBoxLayout(tags_);
  tagsLayout->addWidget(filter_);

  // Search Area with the Add/New box inside.
  area_ = new QGroupBox(Text(c.Area), this);
  area_->setObjectName(QStringLiteral("Area"));
  radioAnd_ = new QRadioButton(Text(c.Radio_and), area_);
  radioAnd_->setObjectName(QStringLiteral("Radio_and"));
  radioAll_ = new QRadioButton(Text(c.Radio_all), area_);
  radioAll_->setObjectName(QStringLiteral("Radio_all"));
  radioGrp_ = new QRadioButton(Text(c.Radio_grp), area_);
  radioGrp_->setObjectName(QStringLiteral("Radio_grp"));
  auto* areaGroup = new QButtonGroup(this);
  for (QRadioButton* r : {radioAnd_, radioAll_, radioGrp_}) {
    areaGroup->addButton(r);
    connect(r, &QRadioButton::clicked, this, &SearchWindow::OnAreaClicked);
  }
  func_ = new QGroupBox(Text(c.Func), area_);
  func_->setObjectName(QStringLiteral("Func"));
  QSizePolicy keep = func_->sizePolicy();
  keep.setRetainSizeWhenHidden(true);  // the dialog does not jump when it hides
  func_->setSizePolicy(keep);
  radioAdd_ = new QRadioButton(Text(c.Radio_add), func_);
  radioAdd_->setObjectName(QStringLiteral("Radio_add"));
  radioNew_ = new QRadioButton(Text(c.Radio_new), func_);
  radioNew_->setObjectName(QStringLiteral("Radio_new"));
  auto* funcGroup = new QButtonGroup(this);
  funcGroup->addButton(radioAdd_);
  funcGroup->addButton(radioNew_);
  auto* funcLayout = new QHBoxLayout(func_);
  funcLayout->addWidget(radioAdd_);
  funcLayout->addWidget(radioNew_);
  auto* areaLayout = new QVBoxLayout(area_);
  areaLayout->addWidget(radioAnd_);
  areaLayout->addWidget(radioAll_);
  areaLayout->addWidget(radioGrp_);
  areaLayout->addWidget(func_);

  // Character: Include / WithOut.
  groupBox2_ = new QGroupBox(Text(c.GroupBox2), this);
  groupBox2_->setObjectName(QStringLiteral("GroupBox2"));
  radioInc_ = new QRadioButton(Text(c.Radio_inc), groupBox2_);
  radioInc_->setObjectName(QStringLiteral("Radio_inc"));
  radioNotInc_ = new QRadioButton(Text(c.Radio_Not_inc), groupBox2_);
  radioNotInc_->setObjectName(QStringLiteral("Radio_Not_inc"));
  auto* incGroup = new QButtonGroup(this);
  incGroup->addButton(radioInc_);
  incGroup->addButton(radioNotInc_);
  auto* incLayout = new QHBoxLayout(groupBox2_);
  incLayout->addWidget(radioInc_);
  incLayout->addWidget(radioNotInc_);

  noCase_ = new QCheckBox(Text(c.NoCase), this);
  noCase_->setObjectName(QStringLiteral("NoCase"));

  // Layout: the text and the buttons on top, the tags on the left, the
  // area, character and case choices on the right.
  auto* top = new QHBoxLayout;
  top->addWidget(label1_);
  top->addWidget(findText_, 1);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(searchBtn_);
  buttons->addWidget(cancelBtn_);
  buttons->addStretch(1);
  auto* right = new QVBoxLayout;
  right->addWidget(area_);
  right->addWidget(groupBox2_);
  right->addWidget(noCase_);
  right->addStretch(1);
  auto* grid = new QGridLayout(this);
  grid->addLayout(top, 0, 0, 1, 2);
  grid->addLayout(buttons, 0, 2, 2, 1);
  grid->addWidget(tags_, 1, 0);
  grid->addLayout(right, 1, 1);
  grid->setSizeConstraint(QLayout::SetFixedSize);  // a fixed border

  setTabOrder(findText_, searchBtn_);
  setTabOrder(searchBtn_, cancelBtn_);
  setTabOrder(cancelBtn_, filter_);
  setTabOrder(filter_, radioAnd_);
  setTabOrder(radioAnd_, radioAll_);
  setTabOrder(radioAll_, radioGrp_);
  setTabOrder(radioGrp_, radioAdd_);
  setTabOrder(radioAdd_, radioNew_);
  setTabOrder(radioNew_, radioInc_);
  setTabOrder(radioInc_, radioNotInc_);
  setTabOrder(radioNotInc_, noCase_);
}

void SearchWindow::RefreshFromLogic() {
  const TSearchDlg& L = logic_;
  if (auto shown = codec::FromQtKeeping(findText_->text(), L.FindText); !shown || *shown != L.FindText)
    findText_->setText(codec::ToQt(L.FindText));
  for (int i = 0; i < kTagCount; ++i)
    filter_->item(i)->setCheckState(L.Filter[static_cast<std::size_t>(i)].Checked ? Qt::Checked : Qt::Unchecked);
  radioAnd_->setChecked(L.Radio_and);
  radioAll_->setChecked(L.Radio_all);
  radioGrp_->setChecked(L.Radio_grp);
  func_->setVisible(L.FuncVisible);
  radioAdd_->setChecked(L.Radio_add);
  radioNew_->setChecked(L.Radio_new);
  radioInc_->setChecked(L.Radio_inc);
  radioNotInc_->setChecked(L.Radio_Not_inc);
  noCase_->setChecked(L.NoCase);
}

bool SearchWindow::PushControls() {
  TSearchDlg& L = logic_;
  QString bad;
  auto bytes = codec::FromQtKeeping(findText_->text(), L.FindText, &bad);
  if (!bytes) {
    app::ShowRefusal(this, bad);
    return false;
  }
  L.FindText = *bytes;
  for (int i = 0; i < kTagCount; ++i)
    L.Filter[static_cast<std::size_t>(i)].Checked = filter_->item(i)->checkState() == Qt::Checked;
  L.Radio_and = radioAnd_->isChecked();
  L.Radio_all = radioAll_->isChecked();
  L.Radio_grp = radioGrp_->isChecked();
  L.Radio_add = radioAdd_->isChecked();
  L.Radio_new = radioNew_->isChecked();
  L.Radio_inc = radioInc_->isChecked();
  L.Radio_Not_inc = radioNotInc_->isChecked();
  L.NoCase = noCase_->isChecked();
  return true;
}

void SearchWindow::OnAreaClicked() {
  if (!PushControls()) return;
  logic_.Show_Func();
  RefreshFromLogic();
}

void SearchWindow::OnSearch() {
  if (!PushControls()) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  logic_.Search();
  QApplication::restoreOverrideCursor();
  if (logic_.Result == ModalResult::Ok) accept();
}

void SearchWindow::reject() {
  logic_.CancelBtnClick();
  QDialog::reject();
}

void SearchWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Centred on the screen, the text field ready for typing.
  if (const QScreen* s = screen()) {
    QRect r = frameGeometry();
    r.moveCenter(s->availableGeometry().center());
    move(r.topLeft());
  }
  findText_->setFocus();
  findText_->selectAll();
}

bool SearchWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == findText_ && event->type() == QEvent::KeyPress) {
    const auto* ke = static_cast<QKeyEvent*>(event);
    if ((ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter) &&
        !(ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
      const bool swallow = logic_.FindTextKeyPress('\r');
      if (logic_.FocusRequest == SearchFocus::SearchBtn) searchBtn_->setFocus(Qt::TabFocusReason);
      logic_.FocusRequest = SearchFocus::None;
      if (swallow) return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace search
