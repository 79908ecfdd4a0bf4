/* d72506.h: the chapter 6 exercise module, for a course player written in C
 * or in any language that calls C.
 *
 * A player creates a module, delivers a question's exercise files into a
 * working folder, and drives the module through its eight members, exactly
 * as a player drives the COM class D72506.Module through AbstractModule:
 *
 *   d72506_module* m = NULL;  d72506_application* excel = NULL;
 *   int32_t window = 0;       d72506_error* error = NULL;
 *   d72506_module_create(NULL, NULL, &m, &error);
 *   d72506_deliver(601, NULL, "/tmp/work/", &error);
 *   d72506_module_InitQuestion(m, 601, "/tmp/work/", &excel, &window, NULL, &error);
 *   d72506_application_run(excel, "Range(\"D1\").Value = \"'09854895\"", NULL, &error);
 *   d72506_module_TestePoint(m, &error);
 *   ... d72506_module_CauseErreur(m, &cause, &error) ...
 *   d72506_module_Fermer(m, &error);
 *   d72506_module_Quitter(m, &excel, &window, &error);
 *   d72506_module_release(m);
 *
 * Conventions
 *
 *  1. Handles are opaque. Each kind has a creating call and a release call
 *     (d72506_module_create / d72506_module_release, ...); a handle the
 *     library hands out is the caller's to release, exactly once.
 *
 *  2. Every call that can fail returns a d72506_status: the HRESULT the COM
 *     member returns. D72506_OK (0) is success; a failure is negative.
 *
 *  3. Every such call takes, last, a `d72506_error** errptr`. On failure,
 *     when errptr is not NULL, *errptr receives a new error (an error
 *     already there is freed first) carrying the failure's runtime number,
 *     its source text (for a module member, the "DLL D72506 - CLASSE ..."
 *     text composed level by level) and its description. On success
 *     *errptr is left as it was. Free an error with d72506_error_free.
 *
 *  4. Text is UTF-8, both ways. Text the library returns through a `char**`
 *     is a new NUL-terminated string the caller frees with d72506_free.
 *     The strings of an error live as long as the error.
 *
 *  5. Handles and out-pointers are never NULL unless a call says so; a NULL
 *     one fails the call with E_POINTER (D72506_E_POINTER), it never
 *     crashes. Optional text arguments say that NULL means "not given".
 *
 *  6. Threads: a module lives in the single-threaded apartment of the thread
 *     that created it, as the COM class does. Every handle (module,
 *     application, list) is used on that thread only; a call from another
 *     thread fails with D72506_E_WRONG_THREAD and changes nothing, and a
 *     release from another thread does nothing (the handle stays valid on
 *     its own thread). Modules created on different threads share nothing
 *     and run in parallel.
 *
 *  7. In/out application references behave as COM's do: when InitQuestion
 *     or Quitter hands back a different application, the handle passed in
 *     is released by the call and *io_application receives a new handle
 *     (NULL for none), which the caller releases in turn.
 */
#ifndef D72506_H
#define D72506_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define D72506_EXPORT __attribute__((visibility("default")))
#else
#define D72506_EXPORT
#endif

typedef int32_t d72506_status;

#define D72506_OK ((d72506_status)0)
/* A NULL handle, out-pointer or required text (convention 5). */
#define D72506_E_POINTER ((d72506_status)0x80004003)
/* A handle used on a thread other than its creator's (convention 6). */
#define D72506_E_WRONG_THREAD ((d72506_status)0x8001010E)
/* Statements that are not a script, or that do what scripts may not. */
#define D72506_E_STATEMENTS ((d72506_status)0x80040200)
/* Statements that spent their time or memory budget. */
#define D72506_E_BUDGET ((d72506_status)0x80040201)
/* A failure is any negative status. */
#define D72506_FAILED(status) ((status) < 0)

typedef struct d72506_error d72506_error;
typedef struct d72506_module d72506_module;
typedef struct d72506_application d72506_application;
typedef struct d72506_complement d72506_complement;
typedef struct d72506_work_files d72506_work_files;
typedef struct d72506_codes d72506_codes;

/* ---- The library -------------------------------------------------------- */

/* "1.0.0": the library's version; a static string, not to be freed. */
D72506_EXPORT const char* d72506_version(void);

/* Frees text the library returned through a char**. NULL is allowed. */
D72506_EXPORT void d72506_free(void* text);

/* ---- Errors (convention 3) ---------------------------------------------- */

/* The runtime number the failure carries, as a COM client's error trap sees
 * it: 9 for a subscript out of range, 1004 for Excel's own errors; an
 * HRESULT without a runtime number stays the negative HRESULT itself. */
D72506_EXPORT int32_t d72506_error_number(const d72506_error* error);
/* The status the call returned. */
D72506_EXPORT d72506_status d72506_error_status(const d72506_error* error);
/* Never NULL; valid until the error is freed. */
D72506_EXPORT const char* d72506_error_source(const d72506_error* error);
D72506_EXPORT const char* d72506_error_description(const d72506_error* error);
/* NULL is allowed. */
D72506_EXPORT void d72506_error_free(d72506_error* error);

/* ---- The module: the eight members of AbstractModule -------------------- */

/* Creates a module, and registers in the calling thread's apartment the
 * classes it needs: the spreadsheet application (its templates folder
 * under `templates_root`, its default printer `printer`) and the module.
 * templates_root: NULL for a new temporary folder, removed with the module.
 * printer: NULL for the default printer of a trainee's machine, "" for a
 * machine without one. The last module created on a thread decides both
 * for the applications the modules of that thread start. */
D72506_EXPORT d72506_status d72506_module_create(const char* templates_root, const char* printer,
                                                 d72506_module** out, d72506_error** errptr);
/* Releases the module, as releasing the COM object does: the question still
 * held is closed; the application is neither restored nor closed. NULL is
 * allowed. */
D72506_EXPORT void d72506_module_release(d72506_module* module);

/* InitQuestion(ilQuestion, isPathDossier, ioApplication, ioHandleLogiciel,
 * isPathModele). working_folder ends with its separator ("/tmp/work/"), as
 * the module concatenates file names to it. *io_application may be NULL
 * (none): the module then starts or finds the application itself and hands
 * it back with its main window in *io_window (convention 7).
 * templates_folder may be NULL (not given); the module computes its own. */
D72506_EXPORT d72506_status d72506_module_InitQuestion(d72506_module* module, int32_t question,
                                                       const char* working_folder,
                                                       d72506_application** io_application, int32_t* io_window,
                                                       const char* templates_folder, d72506_error** errptr);
D72506_EXPORT d72506_status d72506_module_TestePoint(d72506_module* module, d72506_error** errptr);
D72506_EXPORT d72506_status d72506_module_Fermer(d72506_module* module, d72506_error** errptr);
D72506_EXPORT d72506_status d72506_module_Quitter(d72506_module* module, d72506_application** io_application,
                                                  int32_t* io_window, d72506_error** errptr);
/* The verdict: Booleans as 0 or 1; the cause as new text (convention 4). */
D72506_EXPORT d72506_status d72506_module_ErreurGenerale(d72506_module* module, int* out, d72506_error** errptr);
D72506_EXPORT d72506_status d72506_module_CauseErreur(d72506_module* module, char** out, d72506_error** errptr);
D72506_EXPORT d72506_status d72506_module_BravoNuance(d72506_module* module, int* out, d72506_error** errptr);
/* The complement list of the last check; *out is NULL when the module gives
 * none. */
D72506_EXPORT d72506_status d72506_module_Complement(d72506_module* module, d72506_complement** out,
                                                     d72506_error** errptr);

/* ---- The lists ----------------------------------------------------------- */

/* ComplementInfo: lines numbered from 1; item 0 is the empty slot, any other
 * index outside 1..count fails with runtime number 9. */
D72506_EXPORT d72506_status d72506_complement_count(const d72506_complement* list, int32_t* out,
                                                    d72506_error** errptr);
D72506_EXPORT d72506_status d72506_complement_item(const d72506_complement* list, int32_t index, char** out,
                                                   d72506_error** errptr);
D72506_EXPORT void d72506_complement_release(d72506_complement* list);

/* FichiersDeTravail of a question (601 to 615): which delivered file
 * becomes which working copy. Same numbering as above. A number without a
 * question fails with runtime number 5. */
D72506_EXPORT d72506_status d72506_work_files_of_question(int32_t question, d72506_work_files** out,
                                                          d72506_error** errptr);
D72506_EXPORT d72506_status d72506_work_files_count(const d72506_work_files* list, int32_t* out,
                                                    d72506_error** errptr);
/* NomSource, NomDest (new text each) and Modele (0 or 1). */
D72506_EXPORT d72506_status d72506_work_files_item(const d72506_work_files* list, int32_t index,
                                                   char** nom_source, char** nom_dest, int* modele,
                                                   d72506_error** errptr);
D72506_EXPORT void d72506_work_files_release(d72506_work_files* list);

/* ---- What the codes mean to a trainee ----------------------------------- */

/* The message for a verdict, as the module gave it: the question, the
 * ErreurGenerale flag and the CauseErreur code. language: "fr" (the
 * course's; also for NULL) or "en". Never empty: a code the module cannot
 * give there is named as such. */
D72506_EXPORT d72506_status d72506_message(int32_t question, int erreur_generale, const char* code,
                                           const char* language, char** out, d72506_error** errptr);

/* Every code a question (601 to 615) can give, each with its message: the
 * module's and the pre-check's (which come with ErreurGenerale set), then
 * the question's own in the order its check tries them, the empty code of a
 * right answer first. Items numbered from 1; outside, runtime number 9. */
D72506_EXPORT d72506_status d72506_codes_of_question(int32_t question, const char* language, d72506_codes** out,
                                                     d72506_error** errptr);
D72506_EXPORT d72506_status d72506_codes_count(const d72506_codes* list, int32_t* out, d72506_error** errptr);
/* The code (new text), whether it comes with ErreurGenerale set (0 or 1),
 * and its message (new text). */
D72506_EXPORT d72506_status d72506_codes_item(const d72506_codes* list, int32_t index, char** code,
                                              int* erreur_generale, char** message, d72506_error** errptr);
D72506_EXPORT void d72506_codes_release(d72506_codes* list);

/* ---- The player's part --------------------------------------------------- */

/* Copies a question's delivered exercise files ("07250601.xls", ...) into
 * working_folder, as the course player does before InitQuestion.
 * exercises: the folder of the built files; NULL for those installed with
 * the library. A missing file fails with runtime number 53. */
D72506_EXPORT d72506_status d72506_deliver(int32_t question, const char* exercises, const char* working_folder,
                                           d72506_error** errptr);

/* An application of the player's own, visible, as a trainee's running Excel
 * (InitQuestion adopts it); its main window in *window (may be NULL). The
 * module's classes must be registered: create a module first. */
D72506_EXPORT d72506_status d72506_application_create(d72506_application** out, int32_t* window,
                                                      d72506_error** errptr);
/* NULL is allowed. */
D72506_EXPORT void d72506_application_release(d72506_application* application);

/* What a trainee's statements may spend: `seconds` of running time and
 * `memory_bytes` held by their values. 0 in a field takes the command's
 * default; a NULL limits pointer takes both defaults. */
typedef struct d72506_limits {
  double seconds;
  uint64_t memory_bytes;
} d72506_limits;

/* Runs statements of the spreadsheet's macro language on the application,
 * as a trainee does at the command's shell; variables are kept from one
 * call to the next on the same handle. The shell's "#" lines are not
 * statements and are refused: the player makes its calls through the
 * members above. A statement that raises a runtime
 * error stops the run with that error's number (the description names the
 * line); text that is not a script fails with D72506_E_STATEMENTS, and
 * statements that outrun their limits with D72506_E_BUDGET. Other limits
 * than the previous call's start the statements afresh, without variables;
 * each call has its own time. */
D72506_EXPORT d72506_status d72506_application_run(d72506_application* application, const char* statements,
                                                   const d72506_limits* limits, d72506_error** errptr);
/* The value of one expression as text ("Nothing" or "<Class>" for objects). */
D72506_EXPORT d72506_status d72506_application_evaluate(d72506_application* application, const char* expression,
                                                        const d72506_limits* limits, char** out,
                                                        d72506_error** errptr);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* D72506_H */
