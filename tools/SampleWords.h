#pragma once

#include <span>

// The words sample data sets are made of.
namespace datatool::words {

struct CourseCategory {
    const char* prefix;  // the three letters of its course codes
    const char* heading; // the name of its heading entry
    std::span<const char* const> topics;
};

std::span<const char* const> FirstNames();
std::span<const char* const> MiddleNames();
std::span<const char* const> LastNames();
std::span<const char* const> Organizations();
std::span<const char* const> PersonComments();
std::span<const CourseCategory> CourseCategories();
std::span<const char* const> Providers();
std::span<const char* const> CourseComments();
std::span<const char* const> TrainingComments();
std::span<const float> CourseHours(); // whole and fractional

} // namespace datatool::words
