"""The module, the application, the lists and delivery, over libd72506."""

import ctypes
from collections import namedtuple

from d72506._library import D72506Error, Limits, call, encode, handle, lib, take_text


class Application:
    """The spreadsheet application a question runs in; statements of the
    macro language run on it as a trainee's do."""

    def __init__(self, pointer):
        self._handle = handle(pointer)

    @classmethod
    def create(cls):
        """An application of the player's own, visible; returns (application, window).
        Create a Module first: it registers the classes."""
        pointer = handle()
        window = ctypes.c_int32()
        call("d72506_application_create", ctypes.byref(pointer), ctypes.byref(window))
        return cls(pointer.value), window.value

    def run(self, statements, limits=None):
        """Runs statements; variables last from one call to the next."""
        call("d72506_application_run", self._handle, encode(statements), _limits(limits))

    def evaluate(self, expression, limits=None):
        """The value of an expression as text, as the immediate window shows it."""
        value = ctypes.c_void_p()
        call("d72506_application_evaluate", self._handle, encode(expression), _limits(limits), ctypes.byref(value))
        return take_text(value)

    def release(self):
        if self._handle:
            lib.d72506_application_release(self._handle)
            self._handle = handle()

    def __del__(self):
        self.release()


def _limits(limits):
    if limits is None:
        return None
    if isinstance(limits, Limits):
        return ctypes.byref(limits)
    seconds, memory_bytes = limits
    return ctypes.byref(Limits(seconds, memory_bytes))


class Module:
    """D72506.Module and its eight AbstractModule members; a context manager
    that releases the module when the block ends."""

    def __init__(self, templates_root=None, printer=None):
        pointer = handle()
        call("d72506_module_create", encode(templates_root), encode(printer), ctypes.byref(pointer))
        self._handle = pointer

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.release()
        return False

    def release(self):
        if self._handle:
            lib.d72506_module_release(self._handle)
            self._handle = handle()

    def __del__(self):
        self.release()

    def InitQuestion(self, question, working_folder, application=None, window=0, templates_folder=None):
        """Prepares a question; returns (application, window) as the module hands them back.
        The working folder's text gets its final separator when it lacks one."""
        folder = str(working_folder)
        if not folder.endswith("/"):
            folder += "/"
        return self._with_application("d72506_module_InitQuestion", application, window,
                                      lambda app, win: (question, encode(folder), app, win, encode(templates_folder)))

    def Quitter(self, application=None, window=0):
        """Ends the run; returns (application, window), (None, 0) once the module has quit Excel."""
        return self._with_application("d72506_module_Quitter", application, window, lambda app, win: (app, win))

    def _with_application(self, function, application, window, arguments):
        """Calls a member with an in/out application and window. The library
        releases a handle it replaces, even when the member then fails: the
        error then carries what was handed back (an application the module
        started, to be quit) as its `application` and `window`."""
        app = handle(application._handle.value if application else None)
        win = ctypes.c_int32(window)
        try:
            call(function, self._handle, *arguments(ctypes.byref(app), ctypes.byref(win)))
        except D72506Error as error:
            error.application, error.window = self._hand_back(application, app), win.value
            raise
        return self._hand_back(application, app), win.value

    @staticmethod
    def _hand_back(before, after):
        """The library released the handle it replaced: forget it here."""
        if before is not None and before._handle.value == after.value:
            return before
        if before is not None:
            before._handle = handle()
        return Application(after.value) if after.value else None

    def TestePoint(self):
        call("d72506_module_TestePoint", self._handle)

    def Fermer(self):
        call("d72506_module_Fermer", self._handle)

    def _flag(self, function):
        value = ctypes.c_int()
        call(function, self._handle, ctypes.byref(value))
        return bool(value.value)

    @property
    def ErreurGenerale(self):
        return self._flag("d72506_module_ErreurGenerale")

    @property
    def CauseErreur(self):
        value = ctypes.c_void_p()
        call("d72506_module_CauseErreur", self._handle, ctypes.byref(value))
        return take_text(value)

    @property
    def BravoNuance(self):
        return self._flag("d72506_module_BravoNuance")

    @property
    def Complement(self):
        """The complement lines of the last check, or None when there is no list."""
        pointer = handle()
        call("d72506_module_Complement", self._handle, ctypes.byref(pointer))
        if not pointer.value:
            return None
        try:
            return _read_list(pointer, "d72506_complement", lambda i: _complement_item(pointer, i))
        finally:
            lib.d72506_complement_release(pointer)


def _read_list(pointer, prefix, item):
    count = ctypes.c_int32()
    call(prefix + "_count", pointer, ctypes.byref(count))
    return [item(i) for i in range(1, count.value + 1)]


def _complement_item(pointer, index):
    value = ctypes.c_void_p()
    call("d72506_complement_item", pointer, index, ctypes.byref(value))
    return take_text(value)


def _work_file(pointer, index):
    source, dest, modele = ctypes.c_void_p(), ctypes.c_void_p(), ctypes.c_int()
    call("d72506_work_files_item", pointer, index, ctypes.byref(source), ctypes.byref(dest), ctypes.byref(modele))
    return (take_text(source), take_text(dest), bool(modele.value))


def work_files(question):
    """FichiersDeTravail of a question: [(NomSource, NomDest, Modele), ...]."""
    pointer = handle()
    call("d72506_work_files_of_question", question, ctypes.byref(pointer))
    try:
        return _read_list(pointer, "d72506_work_files", lambda i: _work_file(pointer, i))
    finally:
        lib.d72506_work_files_release(pointer)


def deliver(question, working_folder, exercises=None):
    """Copies a question's exercise files into the working folder, as the player does."""
    call("d72506_deliver", question, encode(exercises), encode(str(working_folder)))


Code = namedtuple("Code", "code erreur_generale message")
Code.__doc__ = "A code a question can give, whether it comes with ErreurGenerale set, and its message."


def _code(pointer, index):
    code, message, general = ctypes.c_void_p(), ctypes.c_void_p(), ctypes.c_int()
    call("d72506_codes_item", pointer, index, ctypes.byref(code), ctypes.byref(general), ctypes.byref(message))
    return Code(take_text(code), bool(general.value), take_text(message))


def codes(question, language="fr"):
    """Every code a question (601 to 615) can give, with its message in French ("fr") or English ("en")."""
    pointer = handle()
    call("d72506_codes_of_question", question, encode(language), ctypes.byref(pointer))
    try:
        return _read_list(pointer, "d72506_codes", lambda i: _code(pointer, i))
    finally:
        lib.d72506_codes_release(pointer)


def message(question, erreur_generale, cause, language="fr"):
    """What a verdict (the question, ErreurGenerale, CauseErreur) means to a trainee."""
    value = ctypes.c_void_p()
    call("d72506_message", question, int(bool(erreur_generale)), encode(cause), encode(language), ctypes.byref(value))
    return take_text(value)
