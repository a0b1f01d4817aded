#!/usr/bin/env python3
"""Checks that the documentation still says what the code does.

Markers in the Markdown files (README.md and docs/*.md), each an HTML comment
on the line before a fenced block:

  <!-- quote: PATH FIRST-LAST -->   the block must equal lines FIRST to LAST
                                    of PATH (relative to the source tree)
  <!-- check: compile -->           the C++ block must compile against the
                                    engine's headers, without warnings
  <!-- check: commands -->          the shell block is run, with --commands,
                                    in a fresh clone of the repository, in
                                    the order the files are listed below

Also checks that the references are complete: every configuration key the
engine knows appears in docs/configuration.md, every message the sprite
reader writes appears in docs/sprites.md, and every class, structure and
enumeration that a header included by engine/Corvane.h defines appears in
docs/reference.md.

Usage: check-docs.py [--compiler CXX] [--include DIR]... [--commands]
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
MARKER = re.compile(r"^<!-- (quote|check): (.*?) -->$")


def doc_files():
    """README first, then getting started, then the other pages by name."""
    docs = sorted(f for f in os.listdir(os.path.join(ROOT, "docs")) if f.endswith(".md"))
    ordered = ["getting-started.md"] + [f for f in docs if f != "getting-started.md"]
    return ["README.md"] + ["docs/" + f for f in ordered if os.path.exists(os.path.join(ROOT, "docs", f))]


def marked_blocks(path):
    """Yields (line number, kind, argument, block text) for every marked block."""
    lines = open(os.path.join(ROOT, path), encoding="utf-8").read().split("\n")
    i = 0
    while i < len(lines):
        match = MARKER.match(lines[i])
        if not match:
            i += 1
            continue
        start = i + 1
        if start >= len(lines) or not lines[start].startswith("```"):
            yield start, "error", "marker not followed by a fenced block", ""
            i += 1
            continue
        end = start + 1
        while end < len(lines) and lines[end] != "```":
            end += 1
        yield start + 1, match.group(1), match.group(2), "\n".join(lines[start + 1:end]) + "\n"
        i = end + 1


def check_quote(argument, block):
    """None when the block equals the quoted lines, else what differs."""
    match = re.fullmatch(r"(\S+) (\d+)-(\d+)", argument)
    if not match:
        return "malformed quote marker '%s'" % argument
    source = os.path.join(ROOT, match.group(1))
    if not os.path.exists(source):
        return "quoted file %s does not exist" % match.group(1)
    first, last = int(match.group(2)), int(match.group(3))
    quoted = open(source, encoding="utf-8").read().split("\n")[first - 1:last]
    if "\n".join(quoted) + "\n" != block:
        return "block differs from %s lines %d-%d; those lines now read:\n%s" % (
            match.group(1), first, last, "\n".join(quoted))
    return None


def check_compile(compiler, includes, block):
    """None when the block compiles cleanly against the engine, else the errors."""
    with tempfile.NamedTemporaryFile("w", suffix=".cpp", delete=False) as source:
        source.write(block)
    try:
        result = subprocess.run([compiler, "-std=c++17", "-fsyntax-only", "-Wall", "-Wextra", "-Wpedantic",
                                 "-Werror", "-I", os.path.join(ROOT, "engine")]
                                + ["-I" + folder for folder in includes] + [source.name],
                                capture_output=True, text=True)
    finally:
        os.unlink(source.name)
    return None if result.returncode == 0 else result.stderr


def run_commands(blocks):
    """Runs the command blocks in a fresh clone; None when all succeed."""
    work = tempfile.mkdtemp(prefix="corvane-docs-")
    clone = os.path.join(work, "corvane")
    subprocess.run(["git", "clone", "-q", ROOT, clone], check=True)
    environment = dict(os.environ, HOME=os.path.join(work, "home"))
    os.makedirs(environment["HOME"])
    for where, block in blocks:
        print("running the commands of %s:\n%s" % (where, block), flush=True)
        result = subprocess.run(["bash", "-euo", "pipefail", "-c", block], cwd=clone, env=environment)
        if result.returncode != 0:
            return "%s: the commands failed (status %d), clone left in %s" % (where, result.returncode, clone)
    subprocess.run(["rm", "-rf", work])
    return None


# Where the references' subjects are defined, and what they must mention.
CONFIG_SOURCE = "engine/foundation/Config.cpp"
CONFIG_KEY = re.compile(r'\{"([a-z_]+)", Kind::')
SPRITE_SOURCES = ["engine/presentation/sprites/SpriteFileReader.cpp", "engine/presentation/sprites/ResourceManager.cpp",
                  "engine/presentation/sprites/Sprite.cpp"]
LOG_FORMAT = re.compile(r'writeLog\((?:\s*\d+,)?\s*"((?:[^"\\]|\\.)*)"', re.S)
PRINTF_CONVERSION = re.compile(r"%[-+ #0-9.]*(?:l|ll|z|h)?[diouxXfFeEgGcsp%]")


def read(path):
    return open(os.path.join(ROOT, path), encoding="utf-8").read()


def missing_config_keys():
    """The keys the configuration reader knows that configuration.md never names."""
    doc = read("docs/configuration.md")
    return [key for key in CONFIG_KEY.findall(read(CONFIG_SOURCE)) if "`%s`" % key not in doc]


def sprite_messages():
    """Every log format the sprite loading writes, but the sound and music ones."""
    formats = []
    for source in SPRITE_SOURCES:
        text = read(source)
        if source.endswith("ResourceManager.cpp"):
            start = text.index("int ResourceManager::loadSpriteFile")
            text = text[start:text.index("int ResourceManager::loadSoundFile")]
        formats += LOG_FORMAT.findall(text)
    return formats


def missing_sprite_messages():
    """The sprite messages some literal part of which sprites.md lacks."""
    doc = " ".join(read("docs/sprites.md").split())
    missing = []
    for fmt in sprite_messages():
        text = fmt.replace("\\t", " ").replace("\\'", "'")
        for part in PRINTF_CONVERSION.split(text):
            part = " ".join(part.split())
            if len(part) >= 4 and part not in doc:
                missing.append(fmt)
                break
    return missing


PUBLIC_HEADERS = "engine/Corvane.h"
INCLUDE = re.compile(r'^#include "([^"]+)"', re.M)
# A class, structure or enumeration defined at the top level of a header
# (a declaration ahead, ending in ";", defines nothing).
DEFINITION = re.compile(r"^(?:class|struct|enum(?: class)?)\s+([A-Za-z_]\w*)(?![^\n]*;\s*$)", re.M)


def missing_public_classes():
    """The names of the public headers' classes that reference.md never names."""
    doc = read("docs/reference.md")
    missing = []
    for header in INCLUDE.findall(read(PUBLIC_HEADERS)):
        for name in DEFINITION.findall(read("engine/" + header)):
            if not re.search(r"`(?:\w+::)*%s`" % re.escape(name), doc) and name not in missing:
                missing.append(name)
    return missing


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--compiler", default="c++")
    parser.add_argument("--include", action="append", default=[],
                        help="another folder of headers (SFML's, when it is not the system's)")
    parser.add_argument("--commands", action="store_true", help="also run the command blocks in a fresh clone")
    options = parser.parse_args()

    failures, counts, commands = [], {"quote": 0, "compile": 0, "commands": 0}, []
    for path in doc_files():
        for line, kind, argument, block in marked_blocks(path):
            where = "%s:%d" % (path, line)
            if kind == "error":
                failures.append("%s: %s" % (where, argument))
            elif kind == "quote":
                counts["quote"] += 1
                problem = check_quote(argument, block)
                if problem:
                    failures.append("%s: %s" % (where, problem))
            elif argument == "compile":
                counts["compile"] += 1
                problem = check_compile(options.compiler, options.include, block)
                if problem:
                    failures.append("%s: the snippet does not compile:\n%s" % (where, problem))
            elif argument == "commands":
                counts["commands"] += 1
                commands.append((where, block))
            else:
                failures.append("%s: unknown check '%s'" % (where, argument))
    for key in missing_config_keys():
        failures.append("docs/configuration.md: the configuration key '%s' is not described" % key)
    for message in missing_sprite_messages():
        failures.append("docs/sprites.md: the sprite message \"%s\" is not described" % message)
    for name in missing_public_classes():
        failures.append("docs/reference.md: the public class '%s' is not listed" % name)
    if options.commands and not failures:
        problem = run_commands(commands)
        if problem:
            failures.append(problem)

    for failure in failures:
        print("FAIL " + failure)
    print("%d quotes, %d compiled snippets, %d command blocks%s; %d failures" % (
        counts["quote"], counts["compile"], counts["commands"], " run" if options.commands else " (not run)",
        len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
