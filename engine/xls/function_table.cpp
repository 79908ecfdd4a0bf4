#include "engine/xls/function_table.hpp"

#include <algorithm>
#include <array>
#include <cctype>

namespace engine::xls {

namespace {

constexpr int kMany = 30;

// Sorted by index. Argument classes follow what Excel writes: aggregates
// take references (so SUM(A:A) is not an implicit intersection), scalar
// functions take values, matrix functions take arrays.
constexpr BiffFunction kFunctions[] = {
    {0, "COUNT", 0, kMany, false, "R"},        {1, "IF", 2, 3, true, "VRR"},
    {2, "ISNA", 1, 1, false, "V"},             {3, "ISERROR", 1, 1, false, "V"},
    {4, "SUM", 0, kMany, false, "R"},          {5, "AVERAGE", 1, kMany, false, "R"},
    {6, "MIN", 1, kMany, false, "R"},          {7, "MAX", 1, kMany, false, "R"},
    {8, "ROW", 0, 1, false, "R"},              {9, "COLUMN", 0, 1, false, "R"},
    {10, "NA", 0, 0, false, "V"},              {11, "NPV", 2, kMany, false, "VR"},
    {12, "STDEV", 1, kMany, false, "R"},       {13, "DOLLAR", 1, 2, false, "V"},
    {14, "FIXED", 1, 3, false, "V"},           {15, "SIN", 1, 1, false, "V"},
    {16, "COS", 1, 1, false, "V"},             {17, "TAN", 1, 1, false, "V"},
    {18, "ATAN", 1, 1, false, "V"},            {19, "PI", 0, 0, false, "V"},
    {20, "SQRT", 1, 1, false, "V"},            {21, "EXP", 1, 1, false, "V"},
    {22, "LN", 1, 1, false, "V"},              {23, "LOG10", 1, 1, false, "V"},
    {24, "ABS", 1, 1, false, "V"},             {25, "INT", 1, 1, false, "V"},
    {26, "SIGN", 1, 1, false, "V"},            {27, "ROUND", 2, 2, false, "V"},
    {28, "LOOKUP", 2, 3, false, "VR"},         {29, "INDEX", 2, 4, true, "RV"},
    {30, "REPT", 2, 2, false, "V"},            {31, "MID", 3, 3, false, "V"},
    {32, "LEN", 1, 1, false, "V"},             {33, "VALUE", 1, 1, false, "V"},
    {34, "TRUE", 0, 0, false, "V"},            {35, "FALSE", 0, 0, false, "V"},
    {36, "AND", 1, kMany, false, "R"},         {37, "OR", 1, kMany, false, "R"},
    {38, "NOT", 1, 1, false, "V"},             {39, "MOD", 2, 2, false, "V"},
    {40, "DCOUNT", 3, 3, false, "R"},          {41, "DSUM", 3, 3, false, "R"},
    {42, "DAVERAGE", 3, 3, false, "R"},        {43, "DMIN", 3, 3, false, "R"},
    {44, "DMAX", 3, 3, false, "R"},            {45, "DSTDEV", 3, 3, false, "R"},
    {46, "VAR", 1, kMany, false, "R"},         {47, "DVAR", 3, 3, false, "R"},
    {48, "TEXT", 2, 2, false, "V"},            {56, "PV", 3, 5, false, "V"},
    {57, "FV", 3, 5, false, "V"},              {58, "NPER", 3, 5, false, "V"},
    {59, "PMT", 3, 5, false, "V"},             {60, "RATE", 3, 6, false, "V"},
    {61, "MIRR", 3, 3, false, "RV"},           {62, "IRR", 1, 2, false, "RV"},
    {63, "RAND", 0, 0, false, "V"},            {64, "MATCH", 2, 3, false, "VRR"},
    {65, "DATE", 3, 3, false, "V"},            {66, "TIME", 3, 3, false, "V"},
    {67, "DAY", 1, 1, false, "V"},             {68, "MONTH", 1, 1, false, "V"},
    {69, "YEAR", 1, 1, false, "V"},            {70, "WEEKDAY", 1, 2, false, "V"},
    {71, "HOUR", 1, 1, false, "V"},            {72, "MINUTE", 1, 1, false, "V"},
    {73, "SECOND", 1, 1, false, "V"},          {74, "NOW", 0, 0, false, "V"},
    {75, "AREAS", 1, 1, false, "R"},           {76, "ROWS", 1, 1, false, "R"},
    {77, "COLUMNS", 1, 1, false, "R"},         {78, "OFFSET", 3, 5, true, "RV"},
    {82, "SEARCH", 2, 3, false, "V"},          {83, "TRANSPOSE", 1, 1, false, "A"},
    {86, "TYPE", 1, 1, false, "V"},            {97, "ATAN2", 2, 2, false, "V"},
    {98, "ASIN", 1, 1, false, "V"},            {99, "ACOS", 1, 1, false, "V"},
    {100, "CHOOSE", 2, kMany, true, "VR"},     {101, "HLOOKUP", 3, 4, false, "VRRV"},
    {102, "VLOOKUP", 3, 4, false, "VRRV"},     {105, "ISREF", 1, 1, false, "R"},
    {109, "LOG", 1, 2, false, "V"},            {111, "CHAR", 1, 1, false, "V"},
    {112, "LOWER", 1, 1, false, "V"},          {113, "UPPER", 1, 1, false, "V"},
    {114, "PROPER", 1, 1, false, "V"},         {115, "LEFT", 1, 2, false, "V"},
    {116, "RIGHT", 1, 2, false, "V"},          {117, "EXACT", 2, 2, false, "V"},
    {118, "TRIM", 1, 1, false, "V"},           {119, "REPLACE", 4, 4, false, "V"},
    {120, "SUBSTITUTE", 3, 4, false, "V"},     {121, "CODE", 1, 1, false, "V"},
    {124, "FIND", 2, 3, false, "V"},           {125, "CELL", 1, 2, false, "VR"},
    {126, "ISERR", 1, 1, false, "V"},          {127, "ISTEXT", 1, 1, false, "V"},
    {128, "ISNUMBER", 1, 1, false, "V"},       {129, "ISBLANK", 1, 1, false, "V"},
    {130, "T", 1, 1, false, "R"},              {131, "N", 1, 1, false, "R"},
    {140, "DATEVALUE", 1, 1, false, "V"},      {141, "TIMEVALUE", 1, 1, false, "V"},
    {142, "SLN", 3, 3, false, "V"},            {143, "SYD", 4, 4, false, "V"},
    {144, "DDB", 4, 5, false, "V"},            {148, "INDIRECT", 1, 2, true, "V"},
    {162, "CLEAN", 1, 1, false, "V"},          {163, "MDETERM", 1, 1, false, "A"},
    {164, "MINVERSE", 1, 1, false, "A"},       {165, "MMULT", 2, 2, false, "A"},
    {167, "IPMT", 4, 6, false, "V"},           {168, "PPMT", 4, 6, false, "V"},
    {169, "COUNTA", 0, kMany, false, "R"},     {183, "PRODUCT", 0, kMany, false, "R"},
    {184, "FACT", 1, 1, false, "V"},           {189, "DPRODUCT", 3, 3, false, "R"},
    {190, "ISNONTEXT", 1, 1, false, "V"},      {193, "STDEVP", 1, kMany, false, "R"},
    {194, "VARP", 1, kMany, false, "R"},       {195, "DSTDEVP", 3, 3, false, "R"},
    {196, "DVARP", 3, 3, false, "R"},          {197, "TRUNC", 1, 2, false, "V"},
    {198, "ISLOGICAL", 1, 1, false, "V"},      {199, "DCOUNTA", 3, 3, false, "R"},
    {212, "ROUNDUP", 2, 2, false, "V"},        {213, "ROUNDDOWN", 2, 2, false, "V"},
    {216, "RANK", 2, 3, false, "VRV"},         {219, "ADDRESS", 2, 5, false, "V"},
    {220, "DAYS360", 2, 3, false, "V"},        {221, "TODAY", 0, 0, false, "V"},
    {227, "MEDIAN", 1, kMany, false, "R"},     {228, "SUMPRODUCT", 1, kMany, false, "A"},
    {229, "SINH", 1, 1, false, "V"},           {230, "COSH", 1, 1, false, "V"},
    {231, "TANH", 1, 1, false, "V"},           {232, "ASINH", 1, 1, false, "V"},
    {233, "ACOSH", 1, 1, false, "V"},          {234, "ATANH", 1, 1, false, "V"},
    {235, "DGET", 3, 3, false, "R"},           {244, "INFO", 1, 1, false, "V"},
    {252, "FREQUENCY", 2, 2, false, "A"},      {261, "ERROR.TYPE", 1, 1, false, "V"},
    {269, "AVEDEV", 1, kMany, false, "R"},     {276, "COMBIN", 2, 2, false, "V"},
    {279, "EVEN", 1, 1, false, "V"},           {285, "FLOOR", 2, 2, false, "V"},
    {288, "CEILING", 2, 2, false, "V"},        {293, "NORMDIST", 4, 4, false, "V"},
    {294, "NORMSDIST", 1, 1, false, "V"},      {295, "NORMINV", 3, 3, false, "V"},
    {296, "NORMSINV", 1, 1, false, "V"},       {297, "STANDARDIZE", 3, 3, false, "V"},
    {298, "ODD", 1, 1, false, "V"},            {299, "PERMUT", 2, 2, false, "V"},
    {300, "POISSON", 3, 3, false, "V"},        {303, "SUMXMY2", 2, 2, false, "A"},
    {304, "SUMX2MY2", 2, 2, false, "A"},       {305, "SUMX2PY2", 2, 2, false, "A"},
    {307, "CORREL", 2, 2, false, "A"},         {308, "COVAR", 2, 2, false, "A"},
    {309, "FORECAST", 3, 3, false, "VA"},      {311, "INTERCEPT", 2, 2, false, "A"},
    {312, "PEARSON", 2, 2, false, "A"},        {313, "RSQ", 2, 2, false, "A"},
    {314, "STEYX", 2, 2, false, "A"},          {315, "SLOPE", 2, 2, false, "A"},
    {318, "DEVSQ", 1, kMany, false, "R"},      {319, "GEOMEAN", 1, kMany, false, "R"},
    {320, "HARMEAN", 1, kMany, false, "R"},    {321, "SUMSQ", 0, kMany, false, "R"},
    {322, "KURT", 1, kMany, false, "R"},       {323, "SKEW", 1, kMany, false, "R"},
    {325, "LARGE", 2, 2, false, "RV"},         {326, "SMALL", 2, 2, false, "RV"},
    {327, "QUARTILE", 2, 2, false, "RV"},      {328, "PERCENTILE", 2, 2, false, "RV"},
    {329, "PERCENTRANK", 2, 3, false, "RV"},   {330, "MODE", 1, kMany, false, "A"},
    {331, "TRIMMEAN", 2, 2, false, "RV"},      {336, "CONCATENATE", 0, kMany, false, "V"},
    {337, "POWER", 2, 2, false, "V"},          {342, "RADIANS", 1, 1, false, "V"},
    {343, "DEGREES", 1, 1, false, "V"},        {344, "SUBTOTAL", 2, kMany, false, "VR"},
    {345, "SUMIF", 2, 3, false, "RVR"},        {346, "COUNTIF", 2, 2, false, "RV"},
    {347, "COUNTBLANK", 1, 1, false, "R"},     {351, "DATEDIF", 3, 3, false, "V"},
    {354, "ROMAN", 1, 2, false, "V"},          {359, "HYPERLINK", 1, 2, false, "V"},
    {361, "AVERAGEA", 1, kMany, false, "R"},   {362, "MAXA", 1, kMany, false, "R"},
    {363, "MINA", 1, kMany, false, "R"},       {364, "STDEVPA", 1, kMany, false, "R"},
    {365, "VARPA", 1, kMany, false, "R"},      {366, "STDEVA", 1, kMany, false, "R"},
    {367, "VARA", 1, kMany, false, "R"},
};

bool same_name(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
  });
}

}  // namespace

const BiffFunction* biff_function_by_index(int index) {
  const auto* it = std::lower_bound(std::begin(kFunctions), std::end(kFunctions), index,
                                    [](const BiffFunction& f, int i) { return f.index < i; });
  return it != std::end(kFunctions) && it->index == index ? it : nullptr;
}

const BiffFunction* biff_function_by_name(std::string_view name) {
  for (const auto& f : kFunctions)
    if (same_name(f.name, name)) return &f;
  return nullptr;
}

char argument_class(const BiffFunction& function, std::size_t position) {
  const auto& classes = function.arg_classes;
  return classes[std::min(position, classes.size() - 1)];
}

}  // namespace engine::xls
