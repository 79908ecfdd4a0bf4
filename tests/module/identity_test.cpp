// The type library definitions and the identity constants must name the
// same GUIDs: a Windows build registers one, the runtime here the other.
#include "module/identity.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>

namespace d72506 {
namespace {

// Maps each declared name (library, interface, coclass, struct) to the
// uuid of the attribute block in front of it.
std::map<std::string, std::string> declared_uuids(const std::string& file) {
  std::ifstream in(std::string(D72506_SOURCE_DIR) + "/module/" + file);
  std::stringstream text;
  text << in.rdbuf();
  const std::string idl = text.str();
  const std::regex declaration(
      R"(uuid\(([0-9A-Fa-f-]{36})\)[^\]]*\]\s*(?:library|interface|coclass|typedef\s+struct)\s+(\w+))");
  std::map<std::string, std::string> uuids;
  for (std::sregex_iterator it(idl.begin(), idl.end(), declaration), end; it != end; ++it)
    uuids[(*it)[2]] = std::string("{").append((*it)[1].str()).append("}");
  return uuids;
}

TEST(Identity, ModuleLibraryAgreesWithTheConstants) {
  auto uuids = declared_uuids("D72506.idl");
  using namespace identity;
  EXPECT_EQ(uuids["D72506"], kLibraryId);
  EXPECT_EQ(uuids["Module"], kModuleClassId);
  EXPECT_EQ(uuids["_Module"], kModuleInterfaceId);
  EXPECT_EQ(uuids["FichiersDeTravail"], kFichiersDeTravailClassId);
  EXPECT_EQ(uuids["_FichiersDeTravail"], kFichiersDeTravailInterfaceId);
  EXPECT_EQ(uuids["ComplementInfo"], kComplementInfoClassId);
  EXPECT_EQ(uuids["_ComplementInfo"], kComplementInfoInterfaceId);
  EXPECT_EQ(uuids["Fichier"], kFichierRecordId);
  EXPECT_EQ(uuids["Question0601"], kQuestion0601ClassId);
  EXPECT_EQ(uuids["_Question0601"], kQuestion0601InterfaceId);
  EXPECT_EQ(uuids["Question0602"], kQuestion0602ClassId);
  EXPECT_EQ(uuids["_Question0602"], kQuestion0602InterfaceId);
  EXPECT_EQ(uuids.size(), 12u);
}

TEST(Identity, PlayerLibraryAgreesWithTheConstants) {
  auto uuids = declared_uuids("R55000.idl");
  EXPECT_EQ(uuids["R55000"], identity::kPlayerLibraryId);
  EXPECT_EQ(uuids["AbstractModule"], identity::kAbstractModuleId);
  EXPECT_EQ(uuids["ComplementInfo"], identity::kPlayerComplementInfoId);
}

}  // namespace
}  // namespace d72506
