#!/usr/bin/env python3
"""Writes resources/translations/Localizable_{en,ko,ja}.ts (Qt Linguist, context
"Localizable") from localizable.json. The build compiles them with lrelease."""

import json
import pathlib
from xml.sax.saxutils import escape

HERE = pathlib.Path(__file__).resolve().parent
OUT = HERE.parent.parent / "resources" / "translations"
LANGUAGES = {"en": "en_US", "ko": "ko_KR", "ja": "ja_JP"}


def main() -> None:
    entries = json.loads((HERE / "localizable.json").read_text(encoding="utf-8"))["entries"]
    keys = [e["key"] for e in entries]
    if len(keys) != len(set(keys)):
        raise SystemExit("duplicate key in localizable.json")
    OUT.mkdir(parents=True, exist_ok=True)
    for lang, locale in LANGUAGES.items():
        lines = [
            '<?xml version="1.0" encoding="utf-8"?>',
            "<!DOCTYPE TS>",
            f'<TS version="2.1" language="{locale}" sourcelanguage="en_US">',
            "<context>",
            "    <name>Localizable</name>",
        ]
        for e in entries:
            text = e.get(lang)
            if not text:
                raise SystemExit(f"no {lang} text for {e['key']!r}")
            lines += [
                "    <message>",
                f"        <source>{escape(e['key'])}</source>",
                f"        <translation>{escape(text)}</translation>",
                "    </message>",
            ]
        lines += ["</context>", "</TS>", ""]
        (OUT / f"Localizable_{lang}.ts").write_text("\n".join(lines), encoding="utf-8")
    print(f"{len(entries)} keys written for {', '.join(LANGUAGES)}")


if __name__ == "__main__":
    main()
