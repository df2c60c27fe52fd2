// The one exception of the assembler: raised at the offending token, caught only by
// Assembler::AssembleSource.
#pragma once

#include <stdexcept>
#include <string>

namespace edumac8 {

class EAssembleException : public std::runtime_error {
 public:
  EAssembleException(int number, std::string detail = {})
      : std::runtime_error("assembly error"), number(number), detail(std::move(detail)) {}
  int number;
  std::string detail;  // appended to the catalogue text (the file name of error 102)
};

}  // namespace edumac8
