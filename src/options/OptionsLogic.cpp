#include "options/OptionsLogic.h"

#include "mainwin/MainFormLogic.h"

namespace options {

void TOptionSet::OptionInit(mainwin::TQ7AdrMan& main) {
  main_ = &main;
  Caption = kOptionWindowCaption;
  Captions.EndBtn = "Ret(&X)";
  Captions.PrtBtn = "Pritn(&P)";
  Captions.ImportBtn = "Import(&R)";
  Captions.GroupBox1 = "Address Format of Mail(&M)";
  Captions.GroupBox2 = "Address combine method(&C)";
  Captions.CombineWithAll = "Same Addr,Name,Nic";
  Captions.CombineWithAddr = "Same Address";
  Captions.GroupBox3 = "Export Type";
  Captions.RadioPrintText = "Text of Print Layout";
  Captions.RadioCSV = "Text of CSV Format";
  Captions.ExportBtn = "Export(&E)";
  PrtBtnEnabled = true;
  ImportBtnEnabled = true;
  ExportBtnEnabled = true;
  PrtBtnHint.clear();
  ImportBtnHint.clear();
  ExportBtnHint.clear();
  ChooseSendMode(main.book().AdrSendMode);
  ChooseCombine(main.book().AdrCompFlg);
}

void TOptionSet::ChooseSendMode(int mode) {
  Radio_only = mode == 0;
  Radio_Behind = mode == 1;
  Radio_Forward = !Radio_only && !Radio_Behind;  // 2 and any other value
}

void TOptionSet::ChooseCombine(int flag) {
  CombineWithAddr = flag == 1;
  CombineWithAll = !CombineWithAddr;  // 0 and any other value
}

int TOptionSet::SendModeChosen() const {
  if (Radio_only) return 0;
  if (Radio_Behind) return 1;
  return 2;
}

void TOptionSet::ImportBtnClick() {
  if (main_) main_->ImportClick();
}

void TOptionSet::ExportBtnClick() {
  if (!main_) return;
  if (RadioCSV)
    main_->CsvExportClick();
  else
    main_->TextExportClick();
}

void TOptionSet::PrtBtnClick() {
  if (main_) main_->GoPrintClick();
}

int TOptionSet::CombineChosen() const { return CombineWithAddr ? 1 : 0; }

void TOptionSet::FormClose() {
  if (!main_ || !main_->Book) return;
  main_->Book->AdrSendMode = SendModeChosen();
  main_->Book->AdrCompFlg = CombineChosen();
}

}  // namespace options
