#!/usr/bin/env python3
"""Checks the layer order of the source folders.

Each folder under src is a layer, and a file may include from its own layer or from one ranked
below it, never from one beside it or above it. The booklist and app layers also keep no mutable
variable of static or thread storage: a booklist and the state around it belong to whoever loaded
them (the desktop session, a command, a test) and are handed to the code that works on them.

Usage: check_layer_order.py SOURCE_FOLDER
Prints one "path:line: message" line per violation and exits 1; exits 0 when there is none.
"""
import bisect
import os
import re
import sys

RANKS = {"base": 0, "platform": 1, "booklist": 2, "print": 2,
         "compare": 3, "maintenance": 3, "app": 4, "cli": 5}
STATELESS_LAYERS = {"booklist", "app"}

INCLUDE = re.compile(r'^[ \t]*#[ \t]*include[ \t]*"([^"\n]+)"', re.M)
ASSIGN = r"(?<![=!<>+\-*/%&|^])=(?!=)"  # `=`, not `==`, `<=`, `+=`...
NOT_VARIABLES = re.compile(r"(using|typedef|namespace|template|friend|static_assert|extern|"
                           r"concept|asm)\b")
# A class or enum declared or defined, and nothing else: `struct sigaction action{};` and
# `struct {} x;` define variables.
TYPE_ONLY = re.compile(r"(?:\w+\s+)*?(?:enum\s+(?:class|struct)|class|struct|union|enum)\b\s*"
                       r"(?:[\w:]+(?:\s*<.*?>)?)?\s*(?:final\b)?\s*(?::[^:{][^{]*)?(?:\{\})?\s*$")
CLASS_HEAD = re.compile(r"(?:\w+\s+)*?(?:class|struct|union|enum)\b[^()=]*$")
# Left off the front of a statement, as they say nothing of storage: access labels, Qt's
# upper-case macros (Q_OBJECT, ...) and template heads, whose `=` and `class` would mislead.
LEADING_NOISE = re.compile(r"^(?:\s*(?:(?:public|protected|private)(?:\s+(?:slots|Q_SLOTS))?"
                           r"\s*:(?!:)|(?:signals|Q_SIGNALS)\s*:"
                           r"|[A-Z][A-Z0-9_]+\b(?:\s*\([^()]*\))?"
                           r"|template\s*<(?:[^<>]|<(?:[^<>]|<[^<>]*>)*>)*>))+")
NAMESPACE, CLASS, CODE = "namespace", "class", "code"


def strip_comments(text):
    """Gives the text without comments, and the text without comments nor literals. Both keep the
    length and the line breaks of `text`, so that an offset in either is one in the file."""
    plain, code = list(text), list(text)

    def blank(chars, begin, end):
        for k in range(begin, end):
            if chars[k] != "\n":
                chars[k] = " "

    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i) or text.startswith("/*", i):
            line_comment = text[i + 1] == "/"
            end = text.find("\n" if line_comment else "*/", i + 2)
            end = n if end < 0 else end if line_comment else end + 2
            blank(plain, i, end)
            blank(code, i, end)
            i = end
        elif c in "\"'":
            word = re.search(r"[\w']*$", text[max(0, i - 64):i]).group()
            if c == "'" and word[:1].isdigit():  # a digit separator: 1'000
                i += 1
                continue
            raw = c == '"' and word in ("R", "u8R", "uR", "UR", "LR") and \
                re.match(r'"([^()\\\s]{0,16})\(', text[i:])
            if raw:
                end = text.find(")" + raw.group(1) + '"', i)
                end = n if end < 0 else end + len(raw.group(1)) + 2
            else:
                end = i + 1
                while end < n and text[end] not in (c, "\n"):
                    end += 2 if text[end] == "\\" else 1
                end = min(end + 1, n)
            blank(code, i + 1, end - 1)
            i = end
        else:
            i += 1
    return "".join(plain), "".join(code)


def blank_directives(code):
    """Blanks preprocessor lines, continuations included."""
    lines, continued = code.split("\n"), False
    for k, line in enumerate(lines):
        directive = continued or line.lstrip().startswith("#")
        if directive:
            lines[k] = " " * len(line)
        continued = directive and line.rstrip().endswith("\\")
    return "\n".join(lines)


def collapse(s, group, into):
    """Replaces nested groups from the innermost out."""
    while True:
        t = re.sub(group, "\x01", s)
        if t == s:
            return s.replace("\x01", into)
        s = t


def flatten(s):
    """Empties every parenthesised group, so that what is left is the statement's top level."""
    return collapse(s, r"\([^()]*\)", "()")


def normalise(statement):
    s = " ".join(statement.split())
    s = re.sub(r"\[\[.*?\]\]|\balignas\s*\([^()]*\)", " ", s)
    s = re.sub(r"\boperator\s*(?:\(\)|\[\]|\w+|[^\w\s(]+)", "operator", s)
    return LEADING_NOISE.sub("", s).strip()


def brace_kind(scope):
    """What a `{` opens, from the statement before it: the scope's kind, and whether the
    statement goes on after the closing `}` (a class body, an initializer, a lambda)."""
    s = normalise("".join(scope.text))
    if scope.depth > 0:  # a lambda or a braced argument inside an expression
        return CODE, True
    if re.match(r"(inline\s+)?namespace\b|extern\s*\"[^\"]*\"$", s):
        return NAMESPACE, False
    flat = flatten(s)
    if CLASS_HEAD.match(flat):
        return CLASS, True
    if re.search(ASSIGN, flat) or re.search(r"(\breturn|,)$", flat):
        return CODE, True
    # A function body, or a block after `else`, `do`, `try` or a label; constructors whose
    # initializer lists use braces land here too, and their body is still read as code.
    if "(" in flat or not flat or re.search(r"(\b(else|do|try)|:)$", flat):
        return CODE, False
    return CODE, True  # int x{1}


def declares_function(s):
    flat = flatten(s)
    first = re.search(r"\(|\{|" + ASSIGN, flat)
    if not first or first.group() != "(":
        return False
    begin = s.index("(")
    depth, end = 0, begin
    for end in range(begin, len(s)):
        depth += {"(": 1, ")": -1}.get(s[end], 0)
        if depth == 0:
            break
    # Foo x(1), Foo x("a") and void (*x)(int) define variables; parameters start with a type.
    literal = re.compile(r"\s*(?:[-+]?\d|[\"'{*&]|true\b|false\b|nullptr\b)")
    return not any(literal.match(arg) for arg in s[begin + 1:end].split(","))


def is_const(s):
    """Whether `const` or `constexpr` stands before the declarator name, outside template
    arguments: `static Foo* const p` is const, `std::vector<const char*> v` is not."""
    head = collapse(flatten(s), r"<[^<>]*>", " ")
    head = re.split(r"[=({\[,]|(?<!:):(?!:)", head, maxsplit=1)[0]
    return re.search(r"\b(const|constexpr)\b", head) is not None


def mutable_static(kind, s):
    if kind == CODE:  # a block-scope `static` always declares a variable
        found = re.match(r"(?:static|thread_local)\b", s)
    elif kind == CLASS:
        found = re.match(r"(?:(?:inline|constexpr|const|mutable|volatile|thread_local)\s+)*"
                         r"(?:static|thread_local)\b", s) and not declares_function(s)
    else:
        found = s and not NOT_VARIABLES.match(s) and not TYPE_ONLY.match(s) and \
            not declares_function(s)
    return bool(found) and not is_const(s)


class Scope:
    def __init__(self, kind, goes_on):
        self.kind, self.goes_on = kind, goes_on
        self.reset()

    def reset(self):
        self.text, self.start, self.depth = [], None, 0

    def add(self, s, at):
        if self.start is None and not s.isspace():
            self.start = at
        self.depth += s.count("(") + s.count("[") - s.count(")") - s.count("]")
        self.text.append(s)


def static_violations(plain, code):
    """Yields (offset, message) for each mutable variable of static or thread storage."""
    stack = [Scope(NAMESPACE, False)]
    for i, c in enumerate(code):
        top = stack[-1]
        if c == "{":
            stack.append(Scope(*brace_kind(top)))
        elif c == "}" and len(stack) > 1:
            inner = stack.pop()
            if inner.goes_on:
                stack[-1].add("{}", i)
            else:
                stack[-1].reset()
        elif c == ";" and top.depth <= 0:
            if top.start is not None and mutable_static(top.kind, normalise("".join(top.text))):
                shown = " ".join(plain[top.start:i].split())
                shown = shown if len(shown) <= 80 else shown[:77] + "..."
                storage = "thread" if re.search(r"\bthread_local\b", shown) else "static"
                yield top.start, f"non-const variable of {storage} storage: {shown}"
            top.reset()
        elif c != "}":
            top.add(c, i)


def include_violations(layer, plain):
    for m in INCLUDE.finditer(plain):
        target = m.group(1)
        other = target.split("/", 1)[0]
        if "/" not in target or other not in RANKS or other == layer:
            continue
        if RANKS[other] >= RANKS[layer]:
            where = "beside" if RANKS[other] == RANKS[layer] else "above"
            yield m.start(1), f'includes "{target}" from layer {other}, {where} {layer}'


def check_file(path, layer):
    with open(path, encoding="utf-8", errors="replace") as f:
        plain, code = strip_comments(f.read())
    found = []
    if layer in RANKS:
        found += include_violations(layer, plain)
    if layer in STATELESS_LAYERS:
        found += static_violations(plain, blank_directives(code))
    breaks = [k for k, c in enumerate(plain) if c == "\n"]
    return sorted((bisect.bisect_left(breaks, at) + 1, message) for at, message in found)


def main(argv):
    if len(argv) != 2 or argv[1].startswith("-"):
        print("usage: check_layer_order.py SOURCE_FOLDER", file=sys.stderr)
        return 2
    root = os.path.abspath(argv[1])
    if not os.path.isdir(root):
        print(f"check_layer_order.py: no such folder: {argv[1]}", file=sys.stderr)
        return 2
    checked, violations = 0, 0
    for folder, dirs, files in os.walk(root):
        dirs.sort()
        for name in sorted(f for f in files if f.endswith((".h", ".cpp"))):
            path = os.path.join(folder, name)
            parts = os.path.relpath(path, root).split(os.sep)
            shown = os.path.relpath(path, os.path.dirname(root))
            for line, message in check_file(path, parts[0] if len(parts) > 1 else None):
                print(f"{shown}:{line}: {message}")
                violations += 1
            checked += 1
    if violations:
        return 1
    print(f"layer order: {checked} files checked")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
