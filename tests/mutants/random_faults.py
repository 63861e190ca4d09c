#!/usr/bin/env python3
"""random_faults.py ROOT OUT N SEED [calls]: writes N one-line faults drawn at random from the
portable sources of the checkout ROOT (operators turned, && and || swapped, true and false, literals
moved by one, a ! dropped; with "calls", a statement dropped or a call's two arguments swapped
instead) as patches in OUT, for run.sh. The same ROOT, N and SEED give the same faults: a
measure of a test rework beside the hand-written faults, which were chosen knowing the tests."""
import os, random, re, subprocess, sys

root, out, n, seed = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
calls = sys.argv[5:] == ['calls']
os.makedirs(out, exist_ok=True)
files = subprocess.run(['git', '-C', root, 'ls-files', 'src'], capture_output=True, text=True).stdout.split()
files = [f for f in files if f.endswith('.cpp') and '_win32' not in f and not f.startswith('src/com/')]

OPS = [
    (r'==', '!='), (r'!=', '=='), (r'<=', '<'), (r'>=', '>'), (r'(?<![<>=-])<(?![<=])', '<='),
    (r'(?<![<>=-])>(?![>=])', '>='), (r'&&', '||'), (r'\|\|', '&&'), (r'\btrue\b', 'false'),
    (r'\bfalse\b', 'true'), (r'(?<![\w.])(\d+)(?![\w.])', None), (r'\+ 1\b', '- 1'), (r'- 1\b', '+ 1'),
    (r'!(?=[\w(])', ''),
]

def code_spans(line):
    """Positions outside string/char literals and comments."""
    ok, q, i = [], None, 0
    while i < len(line):
        c = line[i]
        if q:
            if c == '\\': i += 2; continue
            if c == q: q = None
        elif c in '"\'':
            q = c
        elif line.startswith('//', i):
            break
        else:
            ok.append(i)
        i += 1
    return set(ok)

cands = []
for f in files:
    lines = open(os.path.join(root, f), encoding='utf-8', errors='replace').read().split('\n')
    for ln, line in enumerate(lines):
        s = line.strip()
        if not s or s.startswith(('//', '#', '*', '/*')) or 'static_assert' in s or 'template' in s:
            continue
        ok = code_spans(line)
        if calls:
            # a statement that is a call alone on its line, dropped
            if re.fullmatch(r'\s*[\w.>:-]+(\([^;{}]*\))?(\.[\w]+\([^;{}]*\))*\s*;\s*', line) and '(' in line \
                    and not re.match(r'\s*(return|break|continue|throw|co_\w+)\b', line):
                cands.append((f, ln, 0, len(line), re.match(r'\s*', line).group(0) + ';'))
            # a call's two plain arguments, swapped
            for m in re.finditer(r'(?<=[\w>])\(\s*([\w.:>-]+)\s*,\s*([\w.:>-]+)\s*\)', line):
                if m.start() in ok and m.group(1) != m.group(2):
                    cands.append((f, ln, m.start(), m.end(), f'({m.group(2)}, {m.group(1)})'))
            continue
        for pat, rep in OPS:
            for m in re.finditer(pat, line):
                if m.start() not in ok: continue
                if rep is None:
                    v = int(m.group(1)); new = str(v + 1) if v != 1 else '0'
                else:
                    new = rep
                if pat in ('(?<![<>=-])<(?![<=])', '(?<![<>=-])>(?![>=])') and ('<' in line and '>' in line) and re.search(r'\w<[\w:]', line):
                    continue  # likely a template argument list
                cands.append((f, ln, m.start(), m.end(), new))

random.seed(seed)
picked = random.sample(cands, min(n, len(cands)))
for k, (f, ln, a, b, new) in enumerate(sorted(picked)):
    path = os.path.join(root, f)
    text = open(path, encoding='utf-8').read().split('\n')
    old = text[ln]
    text[ln] = old[:a] + new + old[b:]
    ctx0 = max(0, ln - 1)
    before = text[ctx0:ln]
    after = text[ln + 1:ln + 2]
    body = [' ' + l for l in before] + ['-' + old, '+' + text[ln]] + [' ' + l for l in after]
    cnt = len(before) + 1 + len(after)
    hunk = f'@@ -{ctx0 + 1},{cnt} +{ctx0 + 1},{cnt} @@\n'
    name = f'{k:03d}-{os.path.basename(f).rsplit(".", 1)[0]}-{ln + 1}'
    with open(os.path.join(out, name + '.patch'), 'w') as o:
        o.write(f'# {f}:{ln + 1}: {old.strip()} -> {text[ln].strip()}\n')
        o.write(f'diff --git a/{f} b/{f}\n--- a/{f}\n+++ b/{f}\n' + hunk + '\n'.join(body) + '\n')
print(len(cands), 'candidates,', len(picked), 'written to', out)
