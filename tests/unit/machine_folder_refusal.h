// Expecting a machine-folder parser to refuse its input, naming the file and line.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "platform/sim/machine_folder_error.h"

// Runs `parse` and expects a MachineFolderError naming `file` and `line`, whose text
// begins "file:line: " ("file: " for line 0, the file as a whole) and contains `message`.
template <class Parse>
void ExpectRefusal(Parse&& parse, const std::string& file, int line, std::string_view message) {
  try {
    parse();
    ADD_FAILURE() << "accepted";
  } catch (const sim::MachineFolderError& e) {
    EXPECT_EQ(e.file(), file);
    EXPECT_EQ(e.line(), line);
    const std::string what = e.what();
    EXPECT_NE(what.find(message), std::string::npos) << what;
    const std::string prefix = line > 0 ? file + ":" + std::to_string(line) + ": " : file + ": ";
    EXPECT_EQ(what.rfind(prefix, 0), 0u) << what;
  }
}
