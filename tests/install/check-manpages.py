#!/usr/bin/env python3
"""The manual pages describe what the programs' --help lists, no more and no
less: every command of vocalore-cli with its options and arguments, and the
options of both programs. The pages are rendered with groff (warnings fail).

    check-manpages.py VOCALORE VOCALORE_CLI VOCALORE_1 VOCALORE_CLI_1
"""
import os
import re
import subprocess
import sys

OPTION = re.compile(r"(?<![\w-])(?:/p|--?[a-z][a-z-]*)(?![\w-])")
failures = []


def fail(text):
    failures.append(text)


def run(*args):
    env = dict(os.environ)
    env.pop("DISPLAY", None)
    return subprocess.run(args, check=True, capture_output=True, text=True, env=env).stdout


def render(page):
    """The page as plain text, lines long enough that no tag wraps."""
    out = subprocess.run(["groff", "-man", "-ww", "-Tascii", "-P-cbou", "-rLL=250n", page],
                         capture_output=True, text=True)
    if out.returncode or out.stderr.strip():
        fail(f"{page}: groff says {out.stderr.strip()!r}")
    return out.stdout


def sections(text):
    """Section name -> the tag lines of its .TP entries: indented 7, with the
    entry's text indented 14 below (a plain paragraph is not a tag)."""
    result, name = {}, None
    lines = text.splitlines() + [""]
    for line, following in zip(lines, lines[1:]):
        if re.match(r"^[A-Z][A-Z ]+$", line):
            name = line.strip()
            result[name] = []
        elif name and re.match(r"^ {7}\S", line) and re.match(r"^ {14}\S", following):
            result[name].append(" ".join(line.split()))
    return result


def synopsis(words):
    """Options and the positional arguments (the capitalised words not taken
    by an option) of a usage line."""
    options, positional, after_option = [], [], False
    for word in re.sub(r"[\[\]]", " ", words).split():
        if OPTION.fullmatch(word):
            options.append(word)
            after_option = word != "/p"
        elif re.fullmatch(r"[A-Z][A-Za-z.]*", word):
            if not after_option:
                positional.append(word)
            after_option = False
        else:
            after_option = False
    return options, positional


def cli_help(text):
    """Command -> usage words, and the tags of the tool's own options."""
    commands, globals_, current = {}, [], None
    for line in text.splitlines():
        m = re.match(r"^  vocalore-cli (\S.*?)(?: {2,}(\S.*))?$", line)
        if m and m.group(1).startswith("-"):
            globals_.append(m.group(1).strip())
            current = None
        elif m:
            name, _, rest = m.group(1).partition(" ")
            commands[name] = rest
            current = name
        elif current and re.match(r"^ {20,}\[", line):
            commands[current] += " " + line.strip()
        else:
            current = None
    return commands, globals_


def check_cli(program, page):
    commands, globals_ = cli_help(run(program, "--help"))
    if len(commands) < 5:
        fail(f"{program} --help lists only {sorted(commands)}")
    man = sections(render(page))
    documented = {}
    for tag in man.get("COMMANDS", []):
        name, _, rest = tag.partition(" ")
        documented[name] = rest
    for name in sorted(set(commands) | set(documented)):
        if name not in documented:
            fail(f"{page}: command '{name}' of --help is not described")
        elif name not in commands:
            fail(f"{page}: describes '{name}', which --help does not list")
        else:
            want, got = synopsis(commands[name]), synopsis(documented[name])
            if sorted(want[0]) != sorted(got[0]):
                fail(f"{page}: '{name}' options {got[0]}, --help has {want[0]}")
            if want[1] != got[1]:
                fail(f"{page}: '{name}' arguments {got[1]}, --help has {want[1]}")
    if sorted(globals_) != sorted(man.get("OPTIONS", [])):
        fail(f"{page}: OPTIONS {man.get('OPTIONS')}, --help has {globals_}")


def check_program(program, page):
    tags = []
    for line in run(program, "--help").splitlines():
        m = re.match(r"^  (\S.*?) {2,}\S", line)
        if m:
            tags.append(m.group(1))
    if not tags:
        fail(f"{program} --help lists no options")
    documented = sections(render(page)).get("OPTIONS", [])
    if sorted(tags) != sorted(documented):
        fail(f"{page}: OPTIONS {documented}, --help has {tags}")


def main():
    program, cli, program_page, cli_page = sys.argv[1:5]
    check_program(program, program_page)
    check_cli(cli, cli_page)
    for text in failures:
        print("FAIL:", text)
    if failures:
        return 1
    print("manual pages match --help")
    return 0


if __name__ == "__main__":
    sys.exit(main())
