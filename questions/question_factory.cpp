#include "questions/question_factory.hpp"

#include "questions/question_0601.hpp"
#include "questions/question_0613.hpp"
#include "questions/question_0614.hpp"
#include "questions/question_0615.hpp"

namespace d72506 {

std::shared_ptr<platform::com::Dispatch> CreeQuestion(std::int32_t ilQuestion) {
  switch (ilQuestion) {
    case 601:
      return std::make_shared<Question0601>();
    case 613:
      return std::make_shared<Question0613>();
    case 614:
      return std::make_shared<Question0614>();
    case 615:
      return std::make_shared<Question0615>();
    default:
      return nullptr;
  }
}

}  // namespace d72506
