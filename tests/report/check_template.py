#!/usr/bin/env python3
"""Checks that the HTML report template makes a well-formed page in both of its states:
with every optional section shown, and with the disable markers set so that the recent
changes and the components become comments; each for the Windows report and for the Linux
one, which has no patches nor components. Usage: check_template.py <inventory.html.tpl>
"""

import re
import sys
from html.parser import HTMLParser

VOID = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "source",
        "track", "wbr"}
# Where the table parts may stand; a misplaced one is silently moved by browsers.
PARENTS = {"tbody": {"table"}, "tr": {"tbody", "thead", "tfoot"}, "td": {"tr"}, "th": {"tr"},
           "li": {"ul", "ol"}}

SAMPLE_ROW = ('<tr class="rowHighlightData"><td width="1%">&nbsp;&nbsp;</td>'
              '<td colspan="2">sample</td></tr>')


class PageChecker(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.stack = []
        self.ids = {}
        self.errors = []

    def where(self):
        return "line %d" % self.getpos()[0]

    def handle_starttag(self, tag, attrs):
        parents = PARENTS.get(tag)
        if parents and (not self.stack or self.stack[-1] not in parents):
            self.errors.append("%s: <%s> inside <%s>" % (
                self.where(), tag, self.stack[-1] if self.stack else "nothing"))
        for name, value in attrs:
            if name == "id":
                if value in self.ids:
                    self.errors.append("%s: id %r used twice" % (self.where(), value))
                self.ids[value] = True
        if tag not in VOID:
            self.stack.append(tag)

    def handle_startendtag(self, tag, attrs):
        self.handle_starttag(tag, attrs)
        if tag not in VOID:
            self.stack.pop()

    def handle_comment(self, data):
        # Older parsers and validators end or reject a comment at "--".
        if "--" in data or "<!" in data:
            self.errors.append("%s: comment holds \"--\" or \"<!\"" % self.where())

    def handle_endtag(self, tag):
        if tag in VOID:
            self.errors.append("%s: end tag of void <%s>" % (self.where(), tag))
        elif not self.stack or self.stack[-1] != tag:
            self.errors.append("%s: </%s> closes <%s>" % (
                self.where(), tag, self.stack[-1] if self.stack else "nothing"))
        else:
            self.stack.pop()


def for_platform(template, linux):
    """The template's lines of one platform's report, without their marks."""
    kept, dropped = ("@@__linux__@@", "@@__windows__@@") if linux else (
        "@@__windows__@@", "@@__linux__@@")
    lines = []
    for line in template.split("\n"):
        if line.startswith(dropped):
            continue
        for mark in (kept, "@@__ifFilled__@@"):
            if line.startswith(mark):
                line = line[len(mark):]
        lines.append(line)
    return "\n".join(lines)


def fill(template, disabled):
    values = {
        "recentChangesDisableStart":
            "<!-- Disable recent changes as no previous session exists" if disabled else "",
        "recentChangesDisableEnd": "-->" if disabled else "",
        "componentsDisableStart": "<!-- Component/Feature Disabled" if disabled else "",
        "componentsDisableEnd": "-->" if disabled else "",
    }

    def value(match):
        name = match.group(1)
        if name in values:
            return values[name]
        if name.endswith("List") and name != "processorList" and name != "physicalMemoryList":
            return SAMPLE_ROW
        return "sample"

    return re.sub(r"@@__m_([A-Za-z0-9]+)__@@", value, template)


def check(template, disabled, linux):
    page = fill(for_platform(template, linux), disabled)
    checker = PageChecker()
    checker.feed(page)
    checker.close()
    errors = list(checker.errors)
    if checker.stack:
        errors.append("unclosed at the end: %s" % " ".join(checker.stack))
    hidden = {"section11", "section12", "section13"} if disabled else set()
    if linux:
        hidden |= {"section7", "section13"}
    for n in range(1, 15):
        section = "section%d" % n
        if (section in checker.ids) == (section in hidden):
            errors.append("%s %s" % (section, "left visible" if section in hidden else "missing"))
    if not page.lstrip().lower().startswith("<!doctype html>"):
        errors.append("no HTML5 doctype")
    if "@@__" in page:
        errors.append("a mark that is no line's first")
    return errors


def main():
    with open(sys.argv[1], encoding="utf-8") as f:
        template = f.read()
    failed = False
    for linux in (False, True):
        for disabled in (False, True):
            for error in check(template, disabled, linux):
                failed = True
                print("%s, %s: %s" % ("Linux" if linux else "Windows",
                                      "disabled" if disabled else "enabled", error))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
