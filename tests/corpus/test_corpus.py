"""The corpus of trainee answers saved by LibreOffice and Gnumeric, judged by
the real `d72506 check` command: every file must get the code expected.tsv
gives it.

The command to run comes from the environment variable D72506_COMMAND (set
by CTest to the built d72506). Run by hand:

    D72506_COMMAND=build/release/cli/d72506 pytest-3 -p no:cacheprovider tests/corpus
"""

import csv
import json
import os
import re
import subprocess
from collections import defaultdict
from pathlib import Path

import pytest

HERE = Path(__file__).resolve().parent
FILES = HERE / "files"
MANIFEST = HERE / "expected.tsv"
ANSWERS = HERE.parent.parent / "exercises" / "answers"

# The manifest's word for a file the command must not judge: the question's
# check reads the application's state, which no file holds.
NOT_JUDGED = "not judged"
# One question's files are judged in one run; a run that takes longer than
# this has hung.
CHECK_TIMEOUT = 300


def manifest():
    with open(MANIFEST, encoding="utf-8", newline="") as table:
        return list(csv.DictReader(table, delimiter="\t", quoting=csv.QUOTE_NONE))


def rows_by_question():
    questions = defaultdict(list)
    for row in manifest():
        questions[int(row["question"])].append(row)
    return questions


def command():
    path = os.environ.get("D72506_COMMAND")
    if not path:
        pytest.fail("D72506_COMMAND names no d72506 command to run")
    return path


def verdict_of(result):
    """What the command said of one file, in the manifest's terms: the code of
    a judged file, "error N" where the module failed with runtime error N,
    else the status ("not judged", "unreadable")."""
    status = result.get("status", "judged")
    if status == "judged":
        return result["causeErreur"]
    if result.get("error"):
        return f"error {result['error']['number']}"
    return status.replace("-", " ")


def describe(result):
    error = result.get("error")
    detail = f"{error['number']}: {error['description']}" if error else result.get("message", "")
    return f"{verdict_of(result)!r} ({detail})"


def check(question, paths):
    """The command's report on `paths`, and its exit status."""
    run = subprocess.run([command(), "check", str(question), *map(str, paths), "--json"],
                         capture_output=True, text=True, timeout=CHECK_TIMEOUT)
    try:
        return json.loads(run.stdout), run.returncode
    except json.JSONDecodeError:
        pytest.fail(f"d72506 check {question} exited {run.returncode} with no JSON report:\n"
                    f"{run.stdout}\n{run.stderr}")


def bundled_code(question, file):
    """The code the bundled answer script expects, for the answer a corpus file holds."""
    answer = Path(file).parts[1].split(".")[0]
    script = ANSWERS / f"{int(question):04d}_{answer}.bas"
    match = re.search(r"^' expect: (.*)$", script.read_text(encoding="utf-8"), re.MULTILINE)
    assert match, f"{script} states no expected code"
    code = match.group(1).strip()
    return "" if code == '""' else code


# --- The verdicts ----------------------------------------------------------

@pytest.mark.parametrize("question", sorted(rows_by_question()))
def test_each_file_gets_the_expected_verdict(question):
    rows = rows_by_question()[question]
    paths = [FILES / row["file"] for row in rows]
    report, status = check(question, paths)

    assert report["question"] == question
    results = {Path(result["file"]).resolve(): result for result in report["results"]}
    mismatches = []
    for row, path in zip(rows, paths):
        result = results.get(path.resolve())
        if result is None:
            mismatches.append(f"{row['file']}: no result")
        elif verdict_of(result) != row["expected"]:
            mismatches.append(f"{row['file']}: expected {row['expected']!r}, got {describe(result)}")
    assert not mismatches, "\n".join(mismatches)
    # 0 only when every file got a verdict; 1 when some file was not judged.
    every_file_judged = all(row["expected"] != NOT_JUDGED and not row["expected"].startswith("error ")
                            for row in rows)
    assert status == (0 if every_file_judged else 1)


# --- The corpus itself -------------------------------------------------------

def test_manifest_lists_every_file_of_the_corpus_once():
    listed = [row["file"] for row in manifest()]
    on_disk = sorted(path.relative_to(FILES).as_posix() for path in FILES.rglob("*") if path.is_file())
    assert sorted(listed) == on_disk
    assert len(set(listed)) == len(listed)


def test_a_file_expected_to_differ_from_its_bundled_answer_says_why():
    silent = [f"{row['file']}: {row['expected']!r} where the answer script expects "
              f"{bundled_code(row['question'], row['file'])!r}"
              for row in manifest()
              if row["expected"] != NOT_JUDGED and not row["note"]
              and row["expected"] != bundled_code(row["question"], row["file"])]
    assert not silent, "\n".join(silent)


def test_every_judged_question_has_a_right_and_a_wrong_answer_from_each_writer():
    missing = []
    for question, rows in rows_by_question().items():
        if all(row["expected"] == NOT_JUDGED for row in rows):
            continue
        for answer in ("right", "wrong"):
            writers = {Path(row["file"]).parts[1].split(".")[1] for row in rows
                       if Path(row["file"]).parts[1].startswith(answer)}
            for writer in ("libreoffice", "gnumeric"):
                if writer not in writers:
                    missing.append(f"{question}: no {answer} answer written by {writer}")
    assert not missing, "\n".join(missing)
