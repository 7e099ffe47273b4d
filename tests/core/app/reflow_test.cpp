#include "core/app/reflow.h"

#include <gtest/gtest.h>

namespace plimb {
namespace {

struct ReflowRow {
    const char* what;
    const char* text;
    std::vector<TextParagraph> expected;
};

TEST(ReflowHardWrapped, JoinsLinesCutAtTheWidthAndKeepsTheLinesMeantAsLines) {
    const ReflowRow rows[] = {
        {"nothing, or only empty lines", "\n \n\t\r\n", {}},
        {"paragraphs, blanks and CRs at line ends dropped",
         "Permission is hereby granted  \r\nto any person who asks.\n\n\nThe notice stays.\n",
         {{"Permission is hereby granted to any person who asks."}, {"The notice stays."}}},
        {"a short line ends its own line",
         "Ask at this address for the word list:\n\nGrady Ward\n3449 Martha Ct.\nArcata, CA  95521",
         {{"Ask at this address for the word list:"},
          {"Grady Ward", "3449 Martha Ct.", "Arcata, CA  95521"}}},
        {"list items start lines, their continuations join them",
         "  1. Redistributions of source code must\n     keep this notice.\n  2. Binary forms must reproduce "
         "it\n"
         "     as well in all of the documents\n  (clause 4 removed by the original)\n- a dash item",
         {{"  1. Redistributions of source code must keep this notice.",
           "  2. Binary forms must reproduce it as well in all of the documents",
           "  (clause 4 removed by the original)", "- a dash item"}}},
        {"quotations join within their depth only",
         "  > I was wondering what the status\n  > of your list may be today.\n  That is the intention.",
         {{"  > I was wondering what the status of your list may be today.", "  That is the intention."}}},
        {"a hyphen at the cut joins without a blank; a lone dash keeps one",
         "WARRANTIES OF MERCHANT-\nABILITY OR FITNESS THIS -\nis it",
         {{"WARRANTIES OF MERCHANT-ABILITY OR FITNESS THIS - is it"}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(reflowHardWrapped(row.text), row.expected);
    }
}

} // namespace
} // namespace plimb
