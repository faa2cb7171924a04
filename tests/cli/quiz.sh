#!/usr/bin/env bash
# quiz of vocalore-cli, driven through pipes: a scripted learner that reads each
# question and answers it, the announcement at the end, and saving.
set -u
cli="$1"; examples="$2"
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" # never the user's settings
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

sample="$examples/german-english.vlo"
cp "$sample" "$work/g.vlo"
"$cli" dump "$work/g.vlo" > "$work/g.json" || fail "dump"

# A learner who knows each answer with some probability, asks for hints now
# and then, and must see the test through to every item learnt.
learn() { # learn FILE ARGS... ; the driver's own options come from LEARN_*
  python3 - "$cli" "$work/g.json" "$@" <<'PY'
import json, os, random, subprocess, sys
cli, dump, path, *args = sys.argv[1:]
items = json.load(open(dump))["items"]
active = "--active" in args
choices = "--choices" in args
by_question = {(i["translation"] if active else i["word"]): i for i in items}
answer_of = lambda i: i["word"] if active else i["translation"]
answer_label = "Word/phrase: " if active else "Translation(s): "
rng = random.Random(int(os.environ.get("LEARN_SEED", "1")))
p_right = float(os.environ.get("LEARN_RIGHT", "0.7"))
errors = []
proc = subprocess.Popen([cli, "quiz", path] + args, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                        text=True, encoding="utf-8", bufsize=0)

def read_until(*endings):
    text = ""
    while not any(text.endswith(e) for e in endings):
        c = proc.stdout.read(1)
        if not c:
            raise SystemExit("unexpected end of output after: " + text[-300:])
        text += c
    return text

def send(line):
    proc.stdin.write(line + "\n")
    proc.stdin.flush()
    echo = read_until("\n")  # input from a pipe is echoed
    if echo != line + "\n":
        errors.append("echo %r for %r" % (echo, line))

answers = 0
while True:
    text = read_until("Translation(s): ", "Word/phrase: ", "Choice: ", "Reset statistics? [y/N] ")
    if text.endswith("Reset statistics? [y/N] "):
        if "Congratulations!\n\nYou have learnt all the vocabulary in g.vlo.\n" not in text:
            errors.append("no congratulations: " + text[-300:])
        send("n")
        break
    question = [l for l in text.splitlines() if l.startswith("[")][-1]
    shown = question.split("] ", 1)[1].split("  ")[0]
    item = by_question[shown]
    right = rng.random() < p_right
    if choices:
        listed = [l.split(". ", 1)[1].split("  ")[0] for l in text.splitlines() if l.startswith("  ")]
        target = answer_of(item)
        pick = listed.index(target) + 1 if right else next(
            (n + 1 for n, t in enumerate(listed) if t != target), 99)
        send(str(pick))
    else:
        if rng.random() < 0.2:
            send("?")
            hint = read_until("\n").split("Hint: ", 1)[-1].rstrip("\n")
            if not answer_of(item).startswith(hint) or not hint:
                errors.append("hint %r for %r" % (hint, answer_of(item)))
            read_until(answer_label)
        send(answer_of(item) if right else "xxxx")
    verdict = read_until("\n").splitlines()[-1]
    answers += 1
    expected = ("Right!" if right else "Wrong!") + "  " + answer_of(item)
    if not verdict.startswith(expected):
        errors.append("answer %d: %r, expected %r" % (answers, verdict, expected))
    if answers > 5000:
        errors.append("no end after 5000 answers")
        break
rest = read_until("? [y/N] ")
if "Save changes to g.vlo?" not in rest:
    errors.append("no save prompt: " + rest)
send("y")
proc.stdin.close()
out = proc.stdout.read()
proc.wait(timeout=30)
if proc.returncode != 0 or "Saved g.vlo." not in out:
    errors.append("exit %d, tail %r" % (proc.returncode, out[-200:]))
for e in errors[:10]:
    print("FAIL:", e)
print("%d answers" % answers)
sys.exit(1 if errors else 0)
PY
}

learn "$work/g.vlo" || fail "passive learner"
"$cli" info "$work/g.vlo" | grep -q '^Items: *57, 57 learnt' || fail "passive: not all learnt and saved"

cp "$sample" "$work/g.vlo"
LEARN_SEED=2 LEARN_RIGHT=0.5 learn "$work/g.vlo" --active --choices 4 || fail "active multiple-choice learner"
"$cli" info "$work/g.vlo" | grep -q '^Items: *57, 57 learnt' || fail "multiple choice: not all learnt and saved"

# Active typed answers with hints.
cp "$sample" "$work/g.vlo"
LEARN_SEED=3 LEARN_RIGHT=0.6 learn "$work/g.vlo" --active || fail "active learner"

# Stopping: an empty line, then declining to save, leaves the file as it was.
cp "$sample" "$work/g.vlo"
printf 'xxxx\n\nn\n' | "$cli" quiz "$work/g.vlo" > "$work/out.txt" || fail "quiz exit status"
grep -q '^Wrong!  ' "$work/out.txt" || fail "no Wrong!: $(cat "$work/out.txt")"
grep -q '^Save changes to g.vlo? \[y/N\] n$' "$work/out.txt" || fail "no save prompt: $(cat "$work/out.txt")"
cmp -s "$sample" "$work/g.vlo" || fail "declined save changed the file"
# End of input stops as well; --save saves without asking.
printf 'xxxx\n' | "$cli" quiz "$work/g.vlo" --save > "$work/out.txt" || fail "quiz --save exit status"
grep -q 'Save changes' "$work/out.txt" && fail "--save asked"
"$cli" info "$work/g.vlo" | grep -q '^Answers: *1 recorded, 0 right' || fail "--save: $("$cli" info "$work/g.vlo")"

# A document already learnt: the message without congratulations, no reset, no test.
"$cli" build "$work/g.json" "$work/learnt.vlo" > /dev/null
python3 - "$work/g.json" "$work/learnt.json" <<'PY'
import json, sys
d = json.load(open(sys.argv[1]))
for i in d["items"]:
    i["penaltyPoints"] = -1
json.dump(d, open(sys.argv[2], "w"))
PY
"$cli" build "$work/learnt.json" "$work/learnt.vlo" || fail "build learnt"
printf 'n\n' | "$cli" quiz "$work/learnt.vlo" > "$work/out.txt" || fail "learnt quiz exit status"
grep -q '^You have learnt all the vocabulary in learnt.vlo.$' "$work/out.txt" || fail "learnt message: $(cat "$work/out.txt")"
grep -q 'Congratulations' "$work/out.txt" && fail "congratulations before any answer"
grep -q 'Translation(s):' "$work/out.txt" && fail "a learnt document was tested"

"$cli" quiz "$work/g.vlo" --choices 2 < /dev/null 2> "$work/err.txt"
[ $? -eq 1 ] || fail "--choices 2 accepted"

[ $failures -eq 0 ] && echo "all cli quiz checks passed"
exit $((failures > 0))
