// The two lists a player reads: a check's ComplementInfo and a question's
// FichiersDeTravail, through their own members (numbered from 1, slot 0
// empty, error 9 outside).
#include "api/handles.hpp"
#include "questions/question_factory.hpp"

namespace com = platform::com;
using d72506::api::at_boundary;
using d72506::api::checked;
using d72506::api::new_text;
using d72506::api::require;

extern "C" {

d72506_status d72506_complement_count(const d72506_complement* list, int32_t* out, d72506_error** errptr) {
  return at_boundary(errptr, [&] {
    const auto& self = checked(list, "list");
    require(out, "out");
    *out = self.list->count();
  });
}

d72506_status d72506_complement_item(const d72506_complement* list, int32_t index, char** out,
                                     d72506_error** errptr) {
  return at_boundary(errptr, [&] {
    const auto& self = checked(list, "list");
    require(out, "out");
    *out = new_text(self.list->item(index));
  });
}

void d72506_complement_release(d72506_complement* list) { d72506::api::release(list); }

d72506_status d72506_work_files_of_question(int32_t question, d72506_work_files** out, d72506_error** errptr) {
  return at_boundary(errptr, [&] {
    require(out, "out");
    // A question object only fills its list when it is created: reading it
    // touches neither Excel nor any file.
    const std::shared_ptr<com::Dispatch> object = d72506::CreeQuestion(question);
    if (!object) {
      com::raise(com::err::InvalidCall, "d72506", "No question has the number " + std::to_string(question) +
                                                      "; the chapter's are 601 to 615");
    }
    auto list = std::dynamic_pointer_cast<d72506::FichiersDeTravail>(object->get("FichiersDeTravail").object());
    if (!list) com::raise(com::err::TypeMismatch, "d72506", "The question's FichiersDeTravail is not the list");
    *out = new d72506_work_files(std::move(list));
  });
}

d72506_status d72506_work_files_count(const d72506_work_files* list, int32_t* out, d72506_error** errptr) {
  return at_boundary(errptr, [&] {
    const auto& self = checked(list, "list");
    require(out, "out");
    *out = self.list->count();
  });
}

d72506_status d72506_work_files_item(const d72506_work_files* list, int32_t index, char** nom_source,
                                     char** nom_dest, int* modele, d72506_error** errptr) {
  return at_boundary(errptr, [&] {
    const auto& self = checked(list, "list");
    require(nom_source, "nom_source");
    require(nom_dest, "nom_dest");
    require(modele, "modele");
    const d72506::Fichier fichier = self.list->Item(index);
    std::unique_ptr<char, decltype(&d72506_free)> source(new_text(fichier.NomSource), &d72506_free);
    *nom_dest = new_text(fichier.NomDest);
    *nom_source = source.release();
    *modele = fichier.Modele ? 1 : 0;
  });
}

void d72506_work_files_release(d72506_work_files* list) { d72506::api::release(list); }

}  // extern "C"
