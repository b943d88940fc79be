#include "options/OptionsWindow.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/Codec.h"
#include "ui/Translate.h"

namespace options {

namespace {

QPushButton* MakeButton(QWidget* parent, const char* name, const std::string& caption, bool enabled,
                        const std::string& hint) {
  auto* b = new QPushButton(ui::Tr(ui::ctx::kOptions, caption), parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setAutoDefault(false);
  b->setEnabled(enabled);
  if (!hint.empty()) b->setToolTip(ui::Tr(ui::ctx::kOptions, hint));
  return b;
}

QGroupBox* MakeBox(QWidget* parent, const char* name, const std::string& caption) {
  auto* g = new QGroupBox(ui::Tr(ui::ctx::kOptions, caption), parent);
  g->setObjectName(QString::fromLatin1(name));
  new QVBoxLayout(g);
  return g;
}

}  // namespace

QRadioButton* OptionsWindow::Radio(QGroupBox* box, const char* name, const std::string& caption, bool checked) {
  auto* r = new QRadioButton(ui::Tr(ui::ctx::kOptions, caption), box);
  r->setObjectName(QString::fromLatin1(name));
  r->setChecked(checked);
  box->layout()->addWidget(r);
  return r;
}

OptionsWindow::OptionsWindow(TOptionSet& logic, QWidget* parent) : QDialog(parent), logic_(logic) {
  setObjectName(QStringLiteral("OptionSet"));
  setWindowTitle(ui::Tr(ui::ctx::kOptions, logic.Caption));
  setModal(true);
  const OptionCaptions& c = logic.Captions;

  QPushButton* endBtn = MakeButton(this, "EndBtn", c.EndBtn, true, "");
  QPushButton* prtBtn = MakeButton(this, "PrtBtn", c.PrtBtn, logic.PrtBtnEnabled, logic.PrtBtnHint);
  QPushButton* importBtn = MakeButton(this, "ImportBtn", c.ImportBtn, logic.ImportBtnEnabled, logic.ImportBtnHint);
  endBtn->setDefault(true);

  QGroupBox* box1 = MakeBox(this, "GroupBox1", c.GroupBox1);
  QRadioButton* forward = Radio(box1, "Radio_Forward", c.Radio_Forward, logic.Radio_Forward);
  QRadioButton* behind = Radio(box1, "Radio_Behind", c.Radio_Behind, logic.Radio_Behind);
  QRadioButton* only = Radio(box1, "Radio_only", c.Radio_only, logic.Radio_only);

  QGroupBox* box2 = MakeBox(this, "GroupBox2", c.GroupBox2);
  QRadioButton* all = Radio(box2, "CombineWithAll", c.CombineWithAll, logic.CombineWithAll);
  QRadioButton* addr = Radio(box2, "CombineWithAddr", c.CombineWithAddr, logic.CombineWithAddr);

  QGroupBox* box3 = MakeBox(this, "GroupBox3", c.GroupBox3);
  QRadioButton* printText = Radio(box3, "RadioPrintText", c.RadioPrintText, logic.RadioPrintText);
  QRadioButton* csv = Radio(box3, "RadioCSV", c.RadioCSV, logic.RadioCSV);
  QPushButton* exportBtn = MakeButton(box3, "ExportBtn", c.ExportBtn, logic.ExportBtnEnabled, logic.ExportBtnHint);
  box3->layout()->addWidget(exportBtn);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(prtBtn);
  buttons->addWidget(importBtn);
  buttons->addStretch(1);
  buttons->addWidget(endBtn);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(8, 8, 8, 8);
  outer->addLayout(buttons);
  outer->addWidget(box1);
  outer->addWidget(box2);
  outer->addWidget(box3);
  outer->addStretch(1);

  auto send = [this, forward, behind, only] {
    logic_.Radio_Forward = forward->isChecked();
    logic_.Radio_Behind = behind->isChecked();
    logic_.Radio_only = only->isChecked();
  };
  for (QRadioButton* r : {forward, behind, only}) connect(r, &QRadioButton::toggled, this, send);
  auto combine = [this, all, addr] {
    logic_.CombineWithAll = all->isChecked();
    logic_.CombineWithAddr = addr->isChecked();
  };
  for (QRadioButton* r : {all, addr}) connect(r, &QRadioButton::toggled, this, combine);
  auto exportType = [this, printText, csv] {
    logic_.RadioPrintText = printText->isChecked();
    logic_.RadioCSV = csv->isChecked();
  };
  for (QRadioButton* r : {printText, csv}) connect(r, &QRadioButton::toggled, this, exportType);
  connect(endBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(importBtn, &QPushButton::clicked, this, [this] { logic_.ImportBtnClick(); });
  connect(prtBtn, &QPushButton::clicked, this, [this] { logic_.PrtBtnClick(); });
  connect(exportBtn, &QPushButton::clicked, this, [this] { logic_.ExportBtnClick(); });
}

}  // namespace options
