"""The chapter 6 exercise module, for a course player written in Python.

A thin layer over the C library libd72506 (d72506.h), loaded with ctypes:

    import d72506
    with d72506.Module() as module:
        d72506.deliver(601, folder)
        excel, window = module.InitQuestion(601, folder)
        excel.run('Range("D1").Value = "\'09854895"')
        module.TestePoint()
        print(d72506.message(601, module.ErreurGenerale, module.CauseErreur, "en"))
        module.Fermer()
        module.Quitter(excel, window)

A failed member raises D72506Error carrying the runtime number, the source
text and the description the module gave, as a COM client's error trap sees
them. Objects belong to the thread that created the module (the module lives
in that thread's apartment); modules on different threads run in parallel.
"""

from d72506._library import (
    E_BUDGET,
    E_POINTER,
    E_STATEMENTS,
    E_WRONG_THREAD,
    D72506Error,
    Limits,
    version,
)
from d72506._module import Application, Code, Module, codes, deliver, message, work_files

__all__ = [
    "Application",
    "Code",
    "D72506Error",
    "E_BUDGET",
    "E_POINTER",
    "E_STATEMENTS",
    "E_WRONG_THREAD",
    "Limits",
    "Module",
    "codes",
    "deliver",
    "message",
    "version",
    "work_files",
]
