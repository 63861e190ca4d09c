#include "components/string_tokenizer.h"

#include <gtest/gtest.h>

#include <vector>

#include "automation/dispatch.h"

namespace zadeve::components {
namespace {

using automation::Variant;

struct TokenCase {
  const char* source;
  const char* delimiter;
  const char* token;
  const char* rest;
};

class NextTokenCases : public ::testing::TestWithParam<TokenCase> {};

TEST_P(NextTokenCases, ReturnsTextBeforeDelimiterAndShortensSource) {
  const TokenCase& c = GetParam();
  std::string source = c.source;
  EXPECT_EQ(StringTokenizer().NextToken(source, c.delimiter), c.token);
  EXPECT_EQ(source, c.rest);
}

INSTANTIATE_TEST_SUITE_P(
    StringTokenizer, NextTokenCases,
    ::testing::Values(TokenCase{"Push,Zoom,3", ",", "Push", "Zoom,3"},
                      TokenCase{"Zoom", ",", "Zoom", ""},                // no delimiter: all of it
                      TokenCase{"", ",", "", ""},                        // empty source
                      TokenCase{",Zoom", ",", "", "Zoom"},               // leading delimiter
                      TokenCase{"Zoom,", ",", "Zoom", ""},               // trailing delimiter
                      TokenCase{"a,,b", ",", "a", ",b"},                 // only the first one goes
                      TokenCase{"a:b::c::d", "::", "a:b", "c::d"},       // longer delimiter
                      TokenCase{"a:b", "::", "a:b", ""},                 // partial match is no match
                      TokenCase{"ab", "abc", "ab", ""},                  // delimiter longer than source
                      TokenCase{"aXb", "x", "aXb", ""},                  // case counts
                      TokenCase{"a,b", "", "a,b", ""},                   // empty delimiter
                      TokenCase{"Tip text, with comma|x", "|", "Tip text, with comma", "x"}));

TEST(StringTokenizer, TakesADefinitionApartStepByStep) {
  StringTokenizer tokenizer;
  std::string definition = "Push,Zoom/3~Zoom in|extra";
  std::vector<std::string> tokens;
  for (const char* delimiter : {",", "/", "~", "|", "|", ","})
    tokens.push_back(tokenizer.NextToken(definition, delimiter));
  EXPECT_EQ(tokens, (std::vector<std::string>{"Push", "Zoom", "3", "Zoom in", "extra", ""}));
  EXPECT_EQ(definition, "");
}

TEST(StringTokenizer, LateBoundCallWritesTheShortenedSourceBack) {
  auto tokenizer = automation::makeObject<StringTokenizer>();
  Variant source = "12,34";
  Variant delimiter = ",";
  Variant token = automation::callMethod(*tokenizer, "nexttoken",
                                         {automation::byRef(source), automation::byRef(delimiter)});
  EXPECT_EQ(token, Variant("12"));
  EXPECT_EQ(source, Variant("34"));
  EXPECT_EQ(delimiter, Variant(","));

  // A source of another type is converted, and comes back as text.
  Variant number = int32_t{1234};
  Variant two = "2";
  token = automation::callMethod(*tokenizer, "NextToken", {automation::byRef(number), automation::byRef(two)});
  EXPECT_EQ(token, Variant("1"));
  EXPECT_EQ(number, Variant("34"));
}

TEST(StringTokenizer, ProcessInstanceIsCreatedOnceAndKept) {
  StringTokenizer& first = processTokenizer();
  EXPECT_EQ(&first, &processTokenizer());
  EXPECT_GE(first.refCount(), 1u);
  EXPECT_EQ(first.typeName(), "StringTokenizer");
}

}  // namespace
}  // namespace zadeve::components
