#!/usr/bin/env python3
"""Every subcommand, option, option value and exit status that `tarmioview-cli --help` lists is in
the manual page, and the bash completion offers each of them where it belongs.
Usage: help_is_documented.py CLI MANUAL_PAGE COMPLETION"""
import pathlib
import re
import subprocess
import sys
import tempfile

BASH_COMPLETION = "/usr/share/bash-completion/bash_completion"

cli, manual_path, completion_path = sys.argv[1:4]
help_text = subprocess.run([cli, "--help"], capture_output=True, text=True, check=True).stdout
failures = []


def expect(condition, message):
    if not condition:
        failures.append(message)


# "  render [--chart gap|positions|laptimes] ... -o OUT FILE...": the name, then its arguments.
usages = dict(re.findall(r"^  (\S+) ?(.*)$", help_text, re.M))
expect({"dump", "help"} <= usages.keys(), f"no subcommands found in --help:\n{help_text}")


def options_of(usage):
    return re.findall(r"(?<![\w-])(--?[a-z][a-z-]*)", usage)


def choices_of(usage):
    """(option, 'a|b|c') for each option whose value is one of a list of words."""
    return re.findall(r"(--?[a-z][a-z-]*) ([a-z]+(?:\|[a-z]+)+)", usage)


exit_part = help_text[help_text.index("Exit status:"):]
exit_statuses = re.findall(r"\b(\d+) (?:when|on)\b", exit_part)
expect(exit_statuses, "no exit statuses found in --help")

# ---- the manual page, read as text: \- is a hyphen, font changes and quotes go, "a | b" is "a|b".
manual = pathlib.Path(manual_path).read_text()
manual_text = re.sub(r"\\f[BIRP]", "", manual.replace("\\-", "-")).replace('"', "")
manual_text = re.sub(r" +", " ", re.sub(r"\s*\|\s*", "|", manual_text))


def in_manual(word):
    return re.search(r"(?<![\w-])" + re.escape(word) + r"(?![\w-])", manual_text) is not None


for name, usage in usages.items():
    expect(re.search(r"^\.BR? " + re.escape(name) + r"\b", manual_text, re.M),
           f"manual page: no entry for the subcommand {name}")
    for option in options_of(usage):
        expect(in_manual(option), f"manual page: {name}'s option {option} is missing")
    for option, choices in choices_of(usage):
        expect(f"{option} {choices}" in manual_text, f"manual page: {option} {choices} of {name} is missing")
exit_section = manual_text.partition(".SH EXIT STATUS")[2].partition(".SH ")[0]
for status in exit_statuses:
    expect(re.search(rf"^\.B {status}$", exit_section, re.M), f"manual page: exit status {status} is missing")


# ---- the completion, run the way bash runs it on Tab.
def complete(*words, folder=None):
    script = f"""
source {BASH_COMPLETION}
source {completion_path}
function=$(complete -p tarmioview-cli | sed -n 's/.* -F \\([^ ]*\\) .*/\\1/p')
COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMP_LINE="$*"; COMP_POINT=${{#COMP_LINE}}
COMPREPLY=()
"$function" tarmioview-cli "${{COMP_WORDS[COMP_CWORD]}}" "${{COMP_WORDS[COMP_CWORD-1]}}"
printf '%s\\n' "${{COMPREPLY[@]}}"
"""
    result = subprocess.run(["bash", "-c", script, "bash", "tarmioview-cli", *words],
                            capture_output=True, text=True, cwd=folder)
    expect(result.returncode == 0, f"completion of {words} failed: {result.stderr}")
    return set(filter(None, result.stdout.split("\n")))


first_words = complete("")
expect(set(usages) | {"--help", "--version"} <= first_words,
       f"completion: the first word offers {sorted(first_words)}, not every subcommand")
for name, usage in usages.items():
    offered = complete(name, "-")
    missing = set(options_of(usage)) - offered
    expect(not missing, f"completion: {name} - does not offer {sorted(missing)}")
    for option, choices in choices_of(usage):
        offered = complete(name, option, "")
        expect(offered == set(choices.split("|")), f"completion: {name} {option} offers {sorted(offered)}")

# File names: the patterns the file dialog offers (*.zq? logs; *.ra?, *.qr?, *.ch? races), in
# either case, and folders; nothing else.
with tempfile.TemporaryDirectory() as folder:
    for name in ["log.zq3", "race.ra3", "quali.qr1", "champ.ch2", "OLD.RA1", "notes.txt", "race.ra"]:
        pathlib.Path(folder, name).touch()
    pathlib.Path(folder, "season").mkdir()
    offered = complete("table", "", folder=folder)
    expected = {"log.zq3", "race.ra3", "quali.qr1", "champ.ch2", "OLD.RA1", "season"}
    expect(offered == expected, f"completion: table offers the files {sorted(offered)}, not {sorted(expected)}")

for failure in failures:
    print(failure)
sys.exit(1 if failures else 0)
