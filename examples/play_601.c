/* Plays question 601 as a course player does, through d72506.h alone:
 * delivers the exercise file into a new working folder, prepares the
 * question, lets the "trainee" type the answer given on the command line
 * (by default the right one: the number kept as text), asks for a verdict
 * and closes everything.
 *
 *   play_601                      -> CauseErreur="" (right)
 *   play_601 'Range("D1").Value = "09854895"'   -> CauseErreur="C"
 *
 * Exit status: 0 for a right answer, 1 for a wrong one, 2 when a call fails.
 */
#define _DEFAULT_SOURCE
#include <d72506.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static const char* const kRightAnswer = "Range(\"D1\").Value = \"'09854895\"";

/* Prints a failed call's error and ends the program. */
static void fail(const char* call, d72506_error* error) {
  fprintf(stderr, "%s failed: error %d: %s\n  source: %s\n", call, (int)d72506_error_number(error),
          d72506_error_description(error), d72506_error_source(error));
  d72506_error_free(error);
  exit(2);
}

static void print_complement(d72506_module* module, d72506_error** error) {
  d72506_complement* complement = NULL;
  int32_t count = 0;
  if (D72506_FAILED(d72506_module_Complement(module, &complement, error))) fail("Complement", *error);
  if (complement == NULL) return;
  if (D72506_FAILED(d72506_complement_count(complement, &count, error))) fail("count", *error);
  for (int32_t i = 1; i <= count; ++i) {
    char* line = NULL;
    if (D72506_FAILED(d72506_complement_item(complement, i, &line, error))) fail("item", *error);
    printf("  complement %d: %s\n", (int)i, line);
    d72506_free(line);
  }
  d72506_complement_release(complement);
}

int main(int argc, char** argv) {
  const char* answer = argc > 1 ? argv[1] : kRightAnswer;
  d72506_error* error = NULL;
  d72506_module* module = NULL;
  d72506_application* excel = NULL; /* none: the module starts Excel */
  int32_t window = 0;

  char folder[] = "/tmp/play_601.XXXXXX";
  if (mkdtemp(folder) == NULL) {
    perror("mkdtemp");
    return 2;
  }
  char working[sizeof folder + 1];
  snprintf(working, sizeof working, "%s/", folder); /* the module appends file names */

  if (D72506_FAILED(d72506_module_create(NULL, NULL, &module, &error))) fail("create", error);
  if (D72506_FAILED(d72506_deliver(601, NULL, working, &error))) fail("deliver", error);
  if (D72506_FAILED(d72506_module_InitQuestion(module, 601, working, &excel, &window, NULL, &error))) {
    fail("InitQuestion", error);
  }
  printf("d72506 %s: question 601 prepared, Excel's window %d\n", d72506_version(), (int)window);

  if (D72506_FAILED(d72506_application_run(excel, answer, NULL, &error))) fail("the trainee's statements", error);
  if (D72506_FAILED(d72506_module_TestePoint(module, &error))) fail("TestePoint", error);

  int erreur_generale = 0;
  int bravo_nuance = 0;
  char* cause = NULL;
  if (D72506_FAILED(d72506_module_ErreurGenerale(module, &erreur_generale, &error))) fail("ErreurGenerale", error);
  if (D72506_FAILED(d72506_module_CauseErreur(module, &cause, &error))) fail("CauseErreur", error);
  if (D72506_FAILED(d72506_module_BravoNuance(module, &bravo_nuance, &error))) fail("BravoNuance", error);
  printf("CauseErreur=\"%s\" ErreurGenerale=%s BravoNuance=%s\n", cause, erreur_generale ? "True" : "False",
         bravo_nuance ? "True" : "False");
  print_complement(module, &error);
  const int right = !erreur_generale && cause[0] == '\0';
  d72506_free(cause);

  if (D72506_FAILED(d72506_module_Fermer(module, &error))) fail("Fermer", error);
  if (D72506_FAILED(d72506_module_Quitter(module, &excel, &window, &error))) fail("Quitter", error);
  d72506_application_release(excel); /* NULL once Quitter has quit Excel */
  d72506_module_release(module);
  rmdir(folder); /* Fermer deleted the working copy */
  return right ? 0 : 1;
}
