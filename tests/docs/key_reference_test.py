#!/usr/bin/python3
# TIRLA: every row of the line editor's and screen review's key tables, and every two-letter
# reading command, is in the Portuguese key reference (docs/teclas.md), so a key added to a
# table cannot go untold. Key names come from each row's trailing comment.
import re
import sys
from pathlib import Path

ROOT = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parents[2]
TABLES = {  # file -> table names
    "fontes/tradutor/frontend/editor_keys.cpp": ["kExtendedKeys", "kCharacterKeys"],
    "fontes/tradutor/frontend/review.cpp": ["kReviewKeys"],
}
# The code's English key names as the reference writes them.
WORDS = {"Left": "Seta esquerda", "Right": "Seta direita", "Up": "Seta acima",
         "Down": "Seta abaixo", "PageUp": "Page Up", "PageDown": "Page Down",
         "Escape": "Esc", "Space": "Espaço", "backslash": "\\", "digit": "algarismo",
         "routing key": "Roteamento"}
# Rows that are no key, and what the reference says for the catch-all rows.
SPECIAL = {"internal": None, "any other key": "qualquer outra tecla",
           "two-letter reading commands": "duas letras"}


def portuguese(name):
    return "+".join(WORDS.get(part, part) for part in name.split("+"))


def table_rows(text, table):
    body = re.search(r"\b" + table + r"\[\] = \{(.*?)\n\};", text, re.S)
    if not body:
        sys.exit(f"tabela {table} não encontrada")
    for line in body.group(1).splitlines():
        line = line.strip()
        if line.startswith("{"):
            yield line, line.split("//", 1)[1].strip() if "//" in line else ""


def main():
    reference = (ROOT / "docs/teclas.md").read_text(encoding="utf-8")
    missing = []
    for file, tables in TABLES.items():
        text = (ROOT / file).read_text(encoding="utf-8")
        for table in tables:
            for row, comment in table_rows(text, table):
                if not comment:
                    missing.append(f"{file} {table}: linha sem nome de tecla: {row}")
                    continue
                if comment in SPECIAL:
                    wanted = SPECIAL[comment]
                    if wanted and wanted not in reference:
                        missing.append(f"{table}: {wanted}")
                    continue
                for name in (n.strip() for n in comment.split(",")):
                    if f"`{portuguese(name)}`" not in reference:
                        missing.append(f"{table}: `{portuguese(name)}` ({name})")
    reading = (ROOT / "fontes/tradutor/frontend/review_read.cpp").read_text(encoding="utf-8")
    for where, region in re.findall(r"\{'([A-Z])', '([A-Z])', \[\]", reading):
        if f"`{where}{region}`" not in reference:
            missing.append(f"kReadings: `{where}{region}`")
    for line in missing:
        print("falta em docs/teclas.md:", line)
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main())
