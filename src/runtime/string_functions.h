#pragma once
// Parsing, measuring, searching and cutting strings. Producers write their
// result into the shared string buffer at position `p` (their last argument),
// leave the position behind it and return its address; when memory runs out
// they produce "".
#include <cstdint>

namespace vantrel {

int32_t text_length(const char* text);
int32_t parse_integer(const char* text);
int64_t parse_integer64(const char* text);
double parse_float(const char* text);
float parse_float_single(const char* text);
int32_t find_string(const char* text, const char* pattern, int32_t start);
int32_t count_occurrences(const char* text, const char* pattern);
int compare_text(const char* a, const char* b, int ignore_case);
int32_t copy_string_to(char* destination, const char* text);
int32_t copy_string_limited(char* destination, const char* text, int32_t n);

const char* append_string(const char* text, int32_t p);
const char* append_string_limited(const char* text, int32_t n, int32_t p);
const char* space_string(int32_t n, int32_t p);
const char* number_to_string(int32_t value, int32_t p);
const char* character_string(int32_t code, int32_t p);
const char* left_string(const char* text, int32_t n, int32_t p);
const char* right_string(const char* text, int32_t n, int32_t p);
const char* mid_string(const char* text, int32_t start, int32_t length, int32_t p);
const char* trim_string(const char* text, int32_t p);
const char* lower_case(const char* text, int32_t p);
// Produces the index-th field (1-based) and returns its length.
int32_t string_field(const char* text, int32_t index, const char* separator, int32_t p);

}  // namespace vantrel
