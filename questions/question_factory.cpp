#include "questions/question_factory.hpp"

#include "questions/question_0601.hpp"
#include "questions/question_0602.hpp"
#include "questions/question_0603.hpp"
#include "questions/question_0604.hpp"
#include "questions/question_0605.hpp"
#include "questions/question_0606.hpp"
#include "questions/question_0607.hpp"
#include "questions/question_0608.hpp"
#include "questions/question_0609.hpp"
#include "questions/question_0610.hpp"
#include "questions/question_0611.hpp"
#include "questions/question_0612.hpp"
#include "questions/question_0613.hpp"
#include "questions/question_0614.hpp"
#include "questions/question_0615.hpp"

namespace d72506 {

std::shared_ptr<platform::com::Dispatch> CreeQuestion(std::int32_t ilQuestion) {
  switch (ilQuestion) {
    case 601:
      return std::make_shared<Question0601>();
    case 602:
      return std::make_shared<Question0602>();
    case 603:
      return std::make_shared<Question0603>();
    case 604:
      return std::make_shared<Question0604>();
    case 605:
      return std::make_shared<Question0605>();
    case 606:
      return std::make_shared<Question0606>();
    case 607:
      return std::make_shared<Question0607>();
    case 608:
      return std::make_shared<Question0608>();
    case 609:
      return std::make_shared<Question0609>();
    case 610:
      return std::make_shared<Question0610>();
    case 611:
      return std::make_shared<Question0611>();
    case 612:
      return std::make_shared<Question0612>();
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
