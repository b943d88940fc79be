#include "mainwin/OutsideChangeWindow.h"

#include <QCoreApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QStringList>
#include <algorithm>

#include "mainwin/MainWindow.h"
#include "ui/Codec.h"

namespace mainwin {

namespace {

QString Tr(const char* text) { return QCoreApplication::translate("OutsideChangeWatcher", text); }

}  // namespace

OutsideChangeWatcher::OutsideChangeWatcher(MainWindow& window, TQ7AdrMan& logic)
    : QObject(&window), window_(window), logic_(logic) {
  // A mail client writes a group in several steps (backup, rename, write):
  // one look after they settle.
  settle_.setSingleShot(true);
  settle_.setInterval(250);
  connect(&settle_, &QTimer::timeout, this, &OutsideChangeWatcher::Check);
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { settle_.start(); });
  connect(&watcher_, &QFileSystemWatcher::fileChanged, this, [this] { settle_.start(); });
  rewatch_.setInterval(2000);
  connect(&rewatch_, &QTimer::timeout, this, &OutsideChangeWatcher::Rewatch);
  rewatch_.start();
  Rewatch();
}

OutsideChangeWatcher::~OutsideChangeWatcher() {
  if (notice_) delete notice_.data();
}

QMessageBox* OutsideChangeWatcher::notice() const { return notice_.data(); }

void OutsideChangeWatcher::Rewatch() {
  QSet<QString> want;
  for (const std::string& p : logic_.OutsideWatchPaths()) want.insert(QFile::decodeName(QByteArray::fromStdString(p)));
  QStringList drop;
  for (const QString& p : watcher_.files() + watcher_.directories())
    if (!want.remove(p)) drop << p;
  if (!drop.isEmpty()) watcher_.removePaths(drop);
  if (!want.isEmpty()) watcher_.addPaths(QStringList(want.begin(), want.end()));
}

void OutsideChangeWatcher::Check() {
  std::vector<std::string> paths;
  QStringList names;
  for (const TQ7AdrMan::OutsideChange& c : logic_.OutsideChanged()) {
    const std::string& path = c.Node->Group->Path;
    const auto it = ignored_.find(path);
    // Ignored until something newer happens to the group.
    if (it != ignored_.end() && c.Newest <= it->second.Newest && c.Removed <= it->second.Removed) continue;
    paths.push_back(path);
    names << QStringLiteral("\"%1\"").arg(codec::ToQt(c.Node->Caption));
  }
  Rewatch();
  if (paths == shown_ && (notice_ || paths.empty())) return;
  shown_ = paths;
  if (paths.empty()) {
    // Merged through the save's question, or saved over: nothing to offer.
    if (notice_) notice_->close();
    return;
  }
  if (!notice_) {
    auto* box = new QMessageBox(&window_);
    box->setObjectName(QStringLiteral("OutsideChangeNotice"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->setIcon(QMessageBox::Information);
    box->setWindowTitle(window_.windowTitle());
    QPushButton* merge = box->addButton(Tr("&Merge now"), QMessageBox::AcceptRole);
    merge->setObjectName(QStringLiteral("MergeNow"));
    QPushButton* later = box->addButton(Tr("&Ignore until saving"), QMessageBox::RejectRole);
    later->setObjectName(QStringLiteral("IgnoreChange"));
    box->setDefaultButton(merge);
    box->setEscapeButton(later);
    connect(box, &QMessageBox::buttonClicked, this, [this, merge](QAbstractButton* b) { Answer(b == merge); });
    notice_ = box;
  }
  notice_->setText(Tr("Another program changed the address files of %1.").arg(names.join(QStringLiteral(", "))));
  notice_->setInformativeText(
      Tr("Merge the change into memory now, or leave it until saving asks about it?"));
  notice_->show();
}

void OutsideChangeWatcher::Answer(bool merge) {
  const std::vector<std::string> chosen = shown_;
  shown_.clear();
  // Decided on what the files hold now: the tree may have been reloaded
  // while the notice was open.
  const std::vector<TQ7AdrMan::OutsideChange> now = logic_.OutsideChanged();
  std::vector<TQ7AdrMan::OutsideChange> picked;
  for (const auto& c : now)
    if (std::find(chosen.begin(), chosen.end(), c.Node->Group->Path) != chosen.end()) picked.push_back(c);
  if (merge) {
    window_.Run([&] {
      for (const auto& c : picked) logic_.MergeOutsideChange(c.Node);
    });
  } else {
    for (const auto& c : picked) ignored_[c.Node->Group->Path] = c;
  }
}

}  // namespace mainwin
