#include "components/string_tokenizer.h"

#include <gtest/gtest.h>

#include "automation/dispatch.h"

namespace zadeve::components {
namespace {

using automation::byRef;
using automation::callMethod;
using automation::Variant;

TEST(StringTokenizer, ReturnsTextBeforeDelimiterAndShortensSource) {
  struct Case {
    const char *source, *delimiter, *token, *rest;
  };
  for (const Case& c : {Case{"Push,Zoom,3", ",", "Push", "Zoom,3"},
                        Case{"Zoom", ",", "Zoom", ""},           // no delimiter: all of it
                        Case{"", ",", "", ""},                   // empty source
                        Case{",Zoom", ",", "", "Zoom"},          // leading delimiter
                        Case{"a,,b", ",", "a", ",b"},            // only the first one goes
                        Case{"a:b::c::d", "::", "a:b", "c::d"},  // longer delimiter
                        Case{"a:b", "::", "a:b", ""},            // partial match is no match
                        Case{"ab", "abc", "ab", ""},             // delimiter longer than source
                        Case{"aXb", "x", "aXb", ""},             // case counts
                        Case{"a,b", "", "a,b", ""}}) {           // empty delimiter
    std::string source = c.source;
    SCOPED_TRACE(std::string(c.source) + " / " + c.delimiter);
    EXPECT_EQ(StringTokenizer().NextToken(source, c.delimiter), c.token);
    EXPECT_EQ(source, c.rest);
  }
}

TEST(StringTokenizer, LateBoundCallWritesTheShortenedSourceBack) {
  auto tokenizer = automation::makeObject<StringTokenizer>();
  Variant source = "12,34";
  Variant delimiter = ",";
  EXPECT_EQ(callMethod(*tokenizer, "nexttoken", {byRef(source), byRef(delimiter)}), Variant("12"));
  EXPECT_EQ(source, Variant("34"));
  EXPECT_EQ(delimiter, Variant(","));
}

}  // namespace
}  // namespace zadeve::components
