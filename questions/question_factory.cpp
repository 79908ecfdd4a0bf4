#include "questions/question_factory.hpp"

#include "questions/question_0601.hpp"

namespace d72506 {

std::shared_ptr<platform::com::Dispatch> CreeQuestion(std::int32_t ilQuestion) {
  switch (ilQuestion) {
    case 601:
      return std::make_shared<Question0601>();
    default:
      return nullptr;
  }
}

}  // namespace d72506
