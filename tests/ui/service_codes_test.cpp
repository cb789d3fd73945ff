// The service codes: their shape, whole-text matching, and agreement with the support
// documentation.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <sstream>

#include "ui/system/ServiceCodes.h"

namespace tavelo::ui {
namespace {

TEST(ServiceCodes, FourCodesOfTheirLengthsMatchedWholeAndDocumented) {
  const struct {
    ServiceCode code;
    std::size_t length;
  } expected[] = {{ServiceCode::kBoost, 12},
                  {ServiceCode::kLogo, 11},
                  {ServiceCode::kWifi, 11},
                  {ServiceCode::kFactory, 11}};
  std::ifstream doc(std::string(TAVELO_SOURCE_DIR) + "/docs/service.md");
  ASSERT_TRUE(doc) << "docs/service.md";
  std::stringstream text;
  text << doc.rdbuf();
  for (const auto& e : expected) {
    const std::string code = ServiceCodeText(e.code);
    ASSERT_EQ(code.size(), e.length);
    for (char c : code) EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c))) << code;
    EXPECT_EQ(MatchServiceCode(code), e.code);
    // Whole text only, case-sensitive: a prefix, an extra character or other case is no code.
    EXPECT_EQ(MatchServiceCode(code.substr(0, code.size() - 1)), ServiceCode::kNone);
    EXPECT_EQ(MatchServiceCode(code + "x"), ServiceCode::kNone);
    std::string lower = code;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(MatchServiceCode(lower), ServiceCode::kNone);
    EXPECT_NE(text.str().find("`" + code + "`"), std::string::npos) << "undocumented " << code;
  }
  EXPECT_EQ(MatchServiceCode(""), ServiceCode::kNone);
  EXPECT_EQ(MatchServiceCode("1234"), ServiceCode::kNone);
}

}  // namespace
}  // namespace tavelo::ui
