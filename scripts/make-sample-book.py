#!/usr/bin/env python3
"""Writes the small sample book under examples/AddrBook in CP932.

Kept as a script so that the sample can be re-made; the files it writes are
committed and are already in the form the program writes back.
"""
import os
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "examples", "AddrBook")


def qp(text):
    b = text.encode("cp932")
    if not any(c < 0x21 or c == 0x3D or c >= 0x7F for c in b):
        return None
    out = bytearray()
    for c in b:
        if c == 0x20:
            out += b"\r\n "
        elif c < 0x20 or c == 0x3D or c >= 0x7F:
            out += b"=%02x" % c
        else:
            out.append(c)
    return bytes(out)


def card(pref, fn=None, n=None, note=None, nick=None, url=None, adr=None, tels=(), bday=None, other=(), emails=()):
    e = lambda s: s.encode("cp932")
    lines = [b"BEGIN:VCARD", b"EMAIL;PREF:" + e(pref)]
    for params, v in emails:
        lines.append(b"EMAIL" + (b";" + e(params) if params else b"") + b":" + e(v))
    if fn:
        lines.append(b"FN:" + e(fn))
    if n:
        lines.append(b"N:" + e(n))
    if note:
        enc = qp(note)
        lines.append(b"NOTE;ENCODING=QUOTED-PRINTABLE:" + enc if enc else b"NOTE:" + e(note))
    if nick:
        lines.append(b"X-OSTRA-NICKNAME:" + e(nick))
    if url:
        lines.append(b"URL:" + e(url))
    if adr:
        params, v = adr
        lines.append(b"ADR;" + e(params) + b":" + e(v))
    for params, v in tels:
        lines.append(b"TEL;" + e(params) + b":" + e(v))
    if bday:
        lines.append(b"BDAY:" + e(bday))
    for name, v in other:
        lines.append(e(name) + b":" + e(v))
    lines.append(b"END:VCARD")
    return b"".join(l + b"\r\n" for l in lines)


def write(rel, data):
    path = os.path.join(ROOT, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


yamada = card("taro.yamada@example.co.jp", fn="山田 太郎", n="山田;太郎",
              note="大学の同期。\r\n毎年 = 年賀状を送る", nick="たろう",
              adr=("WORK", ";;丸の内1-1-1;千代田区;東京都;100-0005;日本"),
              tels=[("WORK", "03-1234-5678"), ("FAX", "03-1234-5679"), ("PHS", "070-1111-2222")],
              bday="1975-04-01", other=[("ORG", "山田商事;営業部"), ("TITLE", "課長")])
suzuki = card("hanako.suzuki@example.jp", fn="鈴木 花子", n="鈴木;花子",
              tels=[("HOME", "045-987-6543")], other=[("X-BLOOD-TYPE", "A")])
sato = card("ichiro.sato@example.ne.jp", fn="佐藤 一郎", n="佐藤;一郎", nick="いっちゃん",
            url="http://www.example.ne.jp/~sato/", tels=[("WORK", "06-6000-1234")])
tanaka = card("tanaka@example.com", fn="田中 美咲", n="田中;美咲",
              note="ソフトテニス部の先輩", adr=("HOME", ";;港北区1-2-3;横浜市;神奈川県;222-0001;"))
ito = card("k.ito@example.org", fn="伊藤 健", n="伊藤;健", emails=[("INTERNET", "ken.ito@example.net")],
           tels=[("WORK", "052-111-2222"), ("FAX", "052-111-2223")])
kobayashi = card("kobayashi@example.co.jp", fn="小林 由美", n="小林;由美",
                 other=[("X-MEMO;TYPE=PRIVATE", "お茶の先生")])
smith = card("john.smith@example.com", fn="John Smith", n="Smith;John",
             note="Met at the Tokyo trade fair.", nick="john",
             adr=("WORK", ";Suite 200;1 Market St;San Francisco;CA;94105;USA"),
             tels=[("WORK", "+1-415-555-0100")])
watanabe = card("watanabe@example.jp", fn="渡辺 直樹", n="渡辺;直樹", tels=[("WORK", "011-222-3333")],
                other=[("ORG", "北海道物産"), ("ROLE", "仕入れ担当")])
nakamura = card("nakamura@example.co.jp", fn="中村 愛", n="中村;愛", bday="1988-12-24")
kato = card("kato.family@example.jp", fn="加藤 父", n="加藤;父", nick="ちち",
            adr=("HOME", ";;本町2-3-4;仙台市;宮城県;980-0014;"), tels=[("HOME", "022-333-4444")])
mother = card("mother@example.jp", fn="加藤 母", n="加藤;母", nick="はは",
              note="誕生日は 5月5日")
support = card("support@example.net", fn="Support Desk", note="Open 9-17 weekdays",
               url="https://support.example.net/", tels=[("WORK", "0120-000-111")])

write("友人/学校/School.bab", yamada + suzuki + tanaka)
write("友人/学校/Group.ini", "[Settings]\r\nNickName=gakkou\r\n".encode("cp932"))
write("友人/趣味/Hobby.bab", tanaka + kobayashi + sato)
write("仕事/取引先/Clients.bab", ito + watanabe + smith + yamada)
write("仕事/取引先/Group.ini", "[Settings]\r\nNickName=clients\r\n".encode("cp932"))
write("仕事/社内/Office.bab", nakamura + support)
write("家族/Family.bab", kato + mother)
print("sample book written to", os.path.normpath(ROOT), file=sys.stderr)
