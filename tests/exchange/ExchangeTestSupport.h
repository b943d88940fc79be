// Shared by the exchange tests: a small book with Japanese text, nested
// groups and a card in two groups, and views of a book to compare.
#pragma once

#include <map>
#include <set>
#include <string>

#include "import/ImportTestSupport.h"
#include "import/ImportTextLogic.h"

namespace exchtest {

// UTF-8 source text as the CP932 the cards hold.
inline std::string J(const std::string& utf8) {
  std::string out;
  imp::Utf8ToCp932(utf8, out);
  return out;
}

inline std::string Card(const std::string& body) { return "BEGIN:VCARD\r\n" + body + "END:VCARD\r\n"; }

// Top/Friends, Top/Work and Top/Work/Tokyo; hanako is in Friends and Tokyo.
inline void WriteBook(const std::string& root) {
  const std::string hanako = Card(
      "EMAIL;PREF:hanako@example.jp\r\nEMAIL;HOME:hana@home.example.jp\r\n" + J("FN:山田 花子\r\nN:山田;花子\r\n") +
      "NOTE;ENCODING=QUOTED-PRINTABLE:" + J("一行目") + "=0D=0A" + J("二行目, with; marks \\ and \"quotes\"") +
      "\r\n" + J("X-OSTRA-NICKNAME:はな\r\n") + "TEL;WORK:03-1234-5678\r\nTEL;HOME;FAX:03-1234-5679\r\n" +
      J("ADR;HOME:;;丸の内1-1;千代田区;東京都;100-0005;日本\r\n") + "URL:https://example.jp/hanako\r\n");
  const std::string taro =
      Card("EMAIL;PREF:taro@example.com\r\n" + J("FN:佐藤 太郎\r\nN:佐藤;太郎;健\r\n") +
           "TEL;HOME:045-000-1111\r\nADR;WORK:;Suite 2;1 Main St;Springfield;IL;62701;USA\r\n" +
           J("NOTE:表示テスト\r\nORG:株式会社例;開発部\r\nTITLE:部長\r\n") + "KEY:0xDEADBEEF\r\nBDAY:1975-05-05\r\n");
  const std::string ann = Card("EMAIL;PREF:ann@example.org\r\nFN:Ann O'Neil, Jr.\r\nTEL;PHS:070-1111-2222\r\n");
  testsupport::WriteBytes(root + "Top/Friends/friends.bab", hanako + ann);
  testsupport::WriteBytes(root + "Top/Work/work.bab", taro);
  testsupport::WriteBytes(root + "Top/Work/Tokyo/tokyo.bab", hanako);
}

// Each card's groups as paths below `below` (a node's path from the top
// level, e.g. "Top" or "Top\\(New Imported)"), by address.
inline std::map<std::string, std::set<std::string>> Membership(const store::TAllList& book, const std::string& below) {
  std::map<std::string, std::set<std::string>> out;
  for (const store::TreeNode* n : book.Nodes.InOrder()) {
    const std::string path = importtest::PathOf(n);
    if (path.size() <= below.size() + 1 || path.compare(0, below.size() + 1, below + "\\") != 0) continue;
    for (const store::TAddrRec* c : n->Group->Cards()) out[c->PrefEmail].insert(path.substr(below.size() + 1));
  }
  return out;
}

inline const store::TAddrRec* Find(const store::TAllList& book, const std::string& email) {
  for (const store::TAddrRec* c : book.Cards())
    if (c->PrefEmail == email) return c;
  return nullptr;
}

}  // namespace exchtest
