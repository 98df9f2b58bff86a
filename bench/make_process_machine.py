#!/usr/bin/env python3
"""Writes a described machine with many processes: win7-laptop.json with its process list
replaced by COUNT generated ones, names and command lines drawn from what such a machine runs.
    make_process_machine.py SOURCE.json COUNT OUT.json"""
import json
import random
import sys

source, count, out = sys.argv[1], int(sys.argv[2]), sys.argv[3]
machine = json.load(open(source, encoding="utf-8"))

# (folder, image, argument patterns); {n} and {g} vary per process, so that as on a real
# machine a few processes share a name and command line, not thousands.
programs = [
    (r"C:\Windows\system32", "svchost.exe",
     ["-k netsvcs -p -s Svc{n}", "-k LocalService -s Svc{n}"]),
    (r"C:\Program Files (x86)\Google\Chrome\Application", "chrome.exe",
     ["--type=renderer --field-trial-handle={n},1 --lang=en-US --renderer-client-id={n}",
      "--type=gpu-process --gpu-preferences={g} --service-request-channel-token={g}"]),
    (r"C:\Program Files\Microsoft Office\Office15", "OUTLOOK.EXE",
     ["/recycle /profile User{n}", "/embedding /c ipm.note.{g}"]),
    (r"C:\Windows\system32", "conhost.exe", ["0x{n}", "\"-{n}-{n}\""]),
    (r"C:\Program Files\Java\jre7\bin", "javaw.exe",
     ["-Xmx512m -cp \"C:\\Tools\\build{n}\\lib\\*\" org.example.Worker --id {n}"]),
    (r"C:\Windows\system32", "rundll32.exe", ["shell32.dll,Control_RunDLL {g}"]),
    (r"C:\Users\dana\AppData\Local\Temp\job{n}", "worker.exe", ["--queue \\\\server\\jobs\\{g}.xml"]),
    (r"C:\Windows", "explorer.exe", ["/factory,{{{g}}} -Embedding"]),
]
rng = random.Random(18)
processes = []
for i in range(count):
    folder, image, patterns = programs[rng.randrange(len(programs))]
    n, g = rng.randrange(1, 99999), "%08X-%04X" % (rng.getrandbits(32), rng.getrandbits(16))
    args = rng.choice(patterns).format(n=n, g=g)
    path = folder + "\\" + image
    pid = 4 * (i + 100)
    processes.append({
        "Name": image, "ExecutablePath": path,
        "CommandLine": ('"%s" %s' % (path, args)).rstrip(),
        "ProcessId": {"uint32": pid}, "ParentProcessId": {"uint32": 4 * (100 + i // 7)},
        "SessionId": {"uint32": 1 if i % 3 else 0}, "ThreadCount": {"uint32": 1 + i % 40},
        "WorkingSetSize": str(4096 * (100 + rng.randrange(50000))),
        "CreationDate": "201401%02d%02d%02d%02d.%06d-300" % (
            1 + i % 28, i % 24, i % 60, (i // 60) % 60, i % 1000000),
    })
machine["wmi"]["Win32_Process"] = processes
json.dump(machine, open(out, "w", encoding="utf-8"), ensure_ascii=False)
