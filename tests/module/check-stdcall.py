#!/usr/bin/python3
"""check-stdcall.py MODULE.cvp (a 32-bit x86 module)

A 32-bit host calls every entry point as stdcall: the callee pops its own
arguments. Each export's code is followed from its address in the export
table (straight on, through unconditional direct jumps such as tail calls;
calls are stepped over) to the returns it reaches, and every one of them must
be `ret $N` with the argument bytes of the row below (`ret` alone for none).

Prints one line per export that is wrong or cannot be followed; exit code 1
then, 0 when every export returns as the table says, 2 on unusable input.
"""
import re
import subprocess
import sys

# Bytes of arguments each entry point pops: four per argument, as the host
# pushes them. Data of its own, not taken from the module's headers.
ARG_BYTES = {
    "cvAbout": 0,
    "cvMessage": 12,
    "cvRegisterInterfaceAccess": 4,
    "cvRegisterScriptProcessor": 4,
    "cvRegisterPlugIn": 16,
    "cvInitPlugIn": 16,
    "cvExecAction": 8,
    "cvEditAction": 8,
}

OBJDUMP = "i686-w64-mingw32-objdump"
STEP_LIMIT = 20000  # instructions walked per export before giving up
PREFIXES = {"repz", "rep", "repnz", "bnd", "notrack", "ds", "cs"}
DEAD_ENDS = {"hlt", "ud2", "int3"}  # a path that stops here returns nowhere


def objdump(*args):
    return subprocess.run([OBJDUMP, *args], check=True, capture_output=True, text=True).stdout


def export_addresses(module):
    """{name: address} from the export table."""
    text = objdump("-p", module)
    base = re.search(r"^ImageBase\s+([0-9a-fA-F]+)$", text, re.M)
    if not base:
        raise ValueError("no ImageBase in the PE header")
    rva_of_index, names, section = {}, {}, None
    for line in text.splitlines():
        if line.startswith("Export Address Table --"):
            section = "eat"
        elif line.startswith("[Ordinal/Name Pointer] Table"):
            section = "names"
        elif not line.strip():
            section = None
        elif section == "eat":
            m = re.match(r"\s*\[\s*(\d+)\]\s+\+base\[\s*\d+\]\s+([0-9a-fA-F]+)\s+Export RVA", line)
            if m:
                rva_of_index[int(m.group(1))] = int(m.group(2), 16)
        elif section == "names":
            m = re.match(r"\s*\[\s*(\d+)\]\s+(\S+)$", line)
            if m:
                names[m.group(2)] = int(m.group(1))
    image_base = int(base.group(1), 16)
    return {name: image_base + rva_of_index[i] for name, i in names.items() if i in rva_of_index}


def instructions(module):
    """{address: (mnemonic, operands, next address)} of the code sections."""
    rows = []
    for line in objdump("-d", "--no-show-raw-insn", module).splitlines():
        m = re.match(r"\s*([0-9a-f]+):\t(\S.*)$", line)
        if m:
            rows.append((int(m.group(1), 16), m.group(2).split()))
    code = {}
    for (address, words), (following, _) in zip(rows, rows[1:] + [(None, None)]):
        while words and words[0] in PREFIXES:
            words = words[1:]
        if words:
            code[address] = (words[0], words[1:], following)
    return code


def walk(code, start):
    """(bytes popped by each return reached, problems met) from `start`."""
    pops, problems, seen, address = [], [], set(), start
    for _ in range(STEP_LIMIT):
        if address not in code:
            problems.append(f"no code at 0x{address:x}")
            break
        if address in seen:
            break  # a loop back to code already walked
        seen.add(address)
        mnemonic, operands, following = code[address]
        if mnemonic in ("ret", "retl"):
            pops.append(int(operands[0].lstrip("$"), 16) if operands else 0)
            break
        if mnemonic in ("jmp", "jmpl"):
            target = operands[0] if operands else "*"
            if target.startswith("*"):
                problems.append(f"indirect jump at 0x{address:x}")
                break
            address = int(target, 16)
            continue
        if mnemonic in DEAD_ENDS:
            break
        if following is None:
            problems.append("code ends without a return")
            break
        address = following
    else:
        problems.append("no return within the step limit")
    return pops, problems


def main(argv):
    if len(argv) != 2:
        print(__doc__.strip().splitlines()[0])
        return 2
    module = argv[1]
    try:
        exports, code = export_addresses(module), instructions(module)
    except (OSError, ValueError, subprocess.CalledProcessError) as error:
        print(f"{module}: {error}")
        return 2
    wrong = 0
    for name, expected in ARG_BYTES.items():
        if name not in exports:
            print(f"{name}: not exported")
            wrong += 1
            continue
        pops, problems = walk(code, exports[name])
        bad = sorted(set(p for p in pops if p != expected))
        if bad or problems or not pops:
            found = f"returns popping {' or '.join(map(str, bad))} bytes" if bad else "no wrong return found"
            print(f"{name}: {found}, must pop {expected}" + "".join(f"; {p}" for p in problems))
            wrong += 1
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
