#pragma once

#include <QByteArray>
#include <cstddef>
#include <cstdint>

// One fuzz input run through the store and the data tool: the bytes are turned into a data
// folder (the layout below), which is then recovered, checked, read and rewritten as the
// program and mirtavel-data would; the text parsers get the same bytes. Any crash, hang or
// sanitizer report is a fault. Used by the libFuzzer target and by the corpus regression
// test.
namespace fuzzing {

// The names an input can fill, by their index.
//   0 User.List  1 Name.List  2 Course.Index  3 Training.Records  4 TempFile.$$$
//   5 PersonRemoval.Journal  6 CourseUpdate.Journal  7 RecordWrite.Journal
// Layout: one byte of which files exist (bit i: name i), one byte that picks the record to
// remove, then for each existing file in name order a 2-byte little-endian length and that
// many bytes (cut short by the input's end). tests/data/fuzz/make_seeds.py writes seeds so.

// Runs one input in a fresh temporary folder, made the current directory meanwhile.
void RunInput(const std::uint8_t* data, std::size_t size);

} // namespace fuzzing
