#pragma once
// EXPECT_AUTOMATION_ERROR(statement, number, text): the statement must throw an AutomationError
// with that number whose description contains text, so no test passes merely because something threw.

#include <gtest/gtest.h>

#include <string>

#include "automation/error.h"

#define ZADEVE_AUTOMATION_ERROR_CHECK(statement, expectedNumber, expectedText, fail)          \
  do {                                                                                        \
    bool zadeveThrown_ = false;                                                               \
    try {                                                                                     \
      statement;                                                                              \
    } catch (const ::zadeve::automation::AutomationError& e) {                                \
      zadeveThrown_ = true;                                                                   \
      fail##_EQ(e.number(), (expectedNumber)) << "description: " << e.description();          \
      fail##_NE(e.description().find(expectedText), std::string::npos)                        \
          << "description \"" << e.description() << "\" lacks \"" << (expectedText) << "\""; \
    }                                                                                         \
    fail##_TRUE(zadeveThrown_) << #statement " raised no AutomationError";                    \
  } while (false)
#define EXPECT_AUTOMATION_ERROR(statement, number, text) ZADEVE_AUTOMATION_ERROR_CHECK(statement, number, text, EXPECT)
#define ASSERT_AUTOMATION_ERROR(statement, number, text) ZADEVE_AUTOMATION_ERROR_CHECK(statement, number, text, ASSERT)
