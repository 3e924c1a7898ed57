#!/usr/bin/env python3
"""Adds the texts of a storyboard .ts (made by lupdate from the .ui files, one context per screen)
to the string tables "Localizable" (one context), keeping every translation they already hold."""
import sys
import xml.etree.ElementTree as ET


def sources(tree):
    return [m.findtext("source") for m in tree.iter("message")]


def escape(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


def write(tree, path):
    """Writes the table in the layout lupdate and the existing tables use."""
    root = tree.getroot()
    lines = ['<?xml version="1.0" encoding="utf-8"?>', "<!DOCTYPE TS>"]
    attributes = " ".join(f'{key}="{value}"' for key, value in root.attrib.items())
    lines.append(f"<TS {attributes}>")
    for context in root.iter("context"):
        lines.append("<context>")
        lines.append(f"    <name>{escape(context.findtext('name'))}</name>")
        for message in context.iter("message"):
            translation = message.find("translation")
            kind = f' type="{translation.get("type")}"' if translation.get("type") else ""
            lines.append("    <message>")
            lines.append(f"        <source>{escape(message.findtext('source'))}</source>")
            lines.append(f"        <translation{kind}>{escape(translation.text or '')}</translation>")
            lines.append("    </message>")
        lines.append("</context>")
    lines.append("</TS>")
    with open(path, "w", encoding="utf-8") as out:
        out.write("\n".join(lines) + "\n")


def main():
    storyboard = ET.parse(sys.argv[1])
    texts = []
    for text in sources(storyboard):
        if text and text not in texts:
            texts.append(text)
    for path in sys.argv[2:]:
        tree = ET.parse(path)
        context = tree.getroot().find("context")
        known = set(sources(tree))
        english = tree.getroot().get("language", "").startswith("en")
        added = 0
        for text in texts:
            if text in known:
                continue
            message = ET.SubElement(context, "message")
            ET.SubElement(message, "source").text = text
            translation = ET.SubElement(message, "translation")
            if english:
                translation.text = text
            else:
                translation.set("type", "unfinished")
            added += 1
        write(tree, path)
        print(f"{path}: {added} new texts")


if __name__ == "__main__":
    main()
