"""Loading libd72506 and declaring its calls; errors as exceptions."""

import ctypes
import os
from pathlib import Path

E_POINTER = -2147467261  # 0x80004003
E_WRONG_THREAD = -2147417842  # 0x8001010E
E_STATEMENTS = -2147220992  # 0x80040200
E_BUDGET = -2147220991  # 0x80040201


class D72506Error(Exception):
    """A failed call: its status (the HRESULT), runtime number, source and description."""

    def __init__(self, status, number, source, description):
        super().__init__(f"error {number}: {description}")
        self.status = status
        self.number = number
        self.source = source
        self.description = description


def _candidates():
    """Where the library may be: named by D72506_LIBRARY, installed beside
    this package's prefix, or wherever the system's loader finds it."""
    named = os.environ.get("D72506_LIBRARY")
    if named:
        yield named
        return
    here = Path(__file__).resolve().parent
    try:
        from d72506 import _installed  # written when the package is installed

        yield str((here / _installed.LIBRARY).resolve())
    except ImportError:
        pass
    yield "libd72506.so.1"


def _load():
    errors = []
    for candidate in _candidates():
        try:
            return ctypes.CDLL(candidate)
        except OSError as error:
            errors.append(str(error))
    raise ImportError("libd72506 could not be loaded: " + "; ".join(errors))


lib = _load()

status = ctypes.c_int32
handle = ctypes.c_void_p
error_p = ctypes.POINTER(ctypes.c_void_p)
text_p = ctypes.POINTER(ctypes.c_void_p)  # char**, freed with d72506_free
c_int_p = ctypes.POINTER(ctypes.c_int)
i32_p = ctypes.POINTER(ctypes.c_int32)


class Limits(ctypes.Structure):
    """What a trainee's statements may spend; 0 in a field takes the default."""

    _fields_ = [("seconds", ctypes.c_double), ("memory_bytes", ctypes.c_uint64)]


def _declare(name, restype, *argtypes):
    function = getattr(lib, name)
    function.restype = restype
    function.argtypes = list(argtypes)


_declare("d72506_version", ctypes.c_char_p)
_declare("d72506_free", None, ctypes.c_void_p)
_declare("d72506_error_number", ctypes.c_int32, ctypes.c_void_p)
_declare("d72506_error_status", status, ctypes.c_void_p)
_declare("d72506_error_source", ctypes.c_char_p, ctypes.c_void_p)
_declare("d72506_error_description", ctypes.c_char_p, ctypes.c_void_p)
_declare("d72506_error_free", None, ctypes.c_void_p)
_declare("d72506_module_create", status, ctypes.c_char_p, ctypes.c_char_p, ctypes.POINTER(handle), error_p)
_declare("d72506_module_release", None, handle)
_declare("d72506_module_InitQuestion", status, handle, ctypes.c_int32, ctypes.c_char_p,
         ctypes.POINTER(handle), i32_p, ctypes.c_char_p, error_p)
_declare("d72506_module_TestePoint", status, handle, error_p)
_declare("d72506_module_Fermer", status, handle, error_p)
_declare("d72506_module_Quitter", status, handle, ctypes.POINTER(handle), i32_p, error_p)
_declare("d72506_module_ErreurGenerale", status, handle, c_int_p, error_p)
_declare("d72506_module_CauseErreur", status, handle, text_p, error_p)
_declare("d72506_module_BravoNuance", status, handle, c_int_p, error_p)
_declare("d72506_module_Complement", status, handle, ctypes.POINTER(handle), error_p)
_declare("d72506_complement_count", status, handle, i32_p, error_p)
_declare("d72506_complement_item", status, handle, ctypes.c_int32, text_p, error_p)
_declare("d72506_complement_release", None, handle)
_declare("d72506_work_files_of_question", status, ctypes.c_int32, ctypes.POINTER(handle), error_p)
_declare("d72506_work_files_count", status, handle, i32_p, error_p)
_declare("d72506_work_files_item", status, handle, ctypes.c_int32, text_p, text_p, c_int_p, error_p)
_declare("d72506_work_files_release", None, handle)
_declare("d72506_message", status, ctypes.c_int32, ctypes.c_int, ctypes.c_char_p, ctypes.c_char_p, text_p, error_p)
_declare("d72506_codes_of_question", status, ctypes.c_int32, ctypes.c_char_p, ctypes.POINTER(handle), error_p)
_declare("d72506_codes_count", status, handle, i32_p, error_p)
_declare("d72506_codes_item", status, handle, ctypes.c_int32, text_p, c_int_p, text_p, error_p)
_declare("d72506_codes_release", None, handle)
_declare("d72506_deliver", status, ctypes.c_int32, ctypes.c_char_p, ctypes.c_char_p, error_p)
_declare("d72506_application_create", status, ctypes.POINTER(handle), i32_p, error_p)
_declare("d72506_application_release", None, handle)
_declare("d72506_application_run", status, handle, ctypes.c_char_p, ctypes.POINTER(Limits), error_p)
_declare("d72506_application_evaluate", status, handle, ctypes.c_char_p, ctypes.POINTER(Limits), text_p,
         error_p)


def version():
    """The library's version, "1.0.0"."""
    return lib.d72506_version().decode()


def encode(text):
    return None if text is None else os.fsencode(text) if isinstance(text, Path) else text.encode("utf-8")


def call(function, *args):
    """Calls a d72506_ function with an error slot last; raises D72506Error on failure."""
    error = ctypes.c_void_p()
    result = getattr(lib, function)(*args, ctypes.byref(error))
    if result < 0:
        try:
            raise D72506Error(
                result,
                lib.d72506_error_number(error),
                lib.d72506_error_source(error).decode("utf-8", "replace"),
                lib.d72506_error_description(error).decode("utf-8", "replace"),
            )
        finally:
            lib.d72506_error_free(error)
    return result


def take_text(pointer):
    """Text the library returned through a char**, freed once read."""
    try:
        return ctypes.string_at(pointer.value).decode("utf-8") if pointer.value else ""
    finally:
        lib.d72506_free(pointer)
