// Data styles as LibreOffice writes them, turned into Excel format codes: a
// table of cases, then the sections a style:map chains together.
#include "engine/ods/data_styles.hpp"

#include <gtest/gtest.h>

#include "engine/package/xml_part.hpp"

namespace engine::ods {
namespace {

std::string styles_part(const std::string& styles) {
  return R"(<office:document-styles xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 xmlns:number="urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0"><office:styles>)" +
         styles + "</office:styles></office:document-styles>";
}

// The code of the style "N" among `styles`.
std::string code_of(const std::string& styles) {
  const package::XmlPart part("styles.xml", styles_part(styles));
  DataStyles data;
  data.add_children_of(*package::first_child(part.root(), nullptr, "styles"));
  return data.code("N");
}

struct Case {
  const char* style;
  const char* code;
};

class DataStyleCodes : public ::testing::TestWithParam<Case> {};

TEST_P(DataStyleCodes, AreExcelCodes) { EXPECT_EQ(code_of(GetParam().style), GetParam().code); }

INSTANTIATE_TEST_SUITE_P(
    LibreOffice, DataStyleCodes,
    ::testing::Values(
        Case{R"(<number:number-style style:name="N"><number:number number:min-integer-digits="1"/></number:number-style>)", "General"},
        Case{R"(<number:number-style style:name="N"><number:number number:decimal-places="0" number:min-integer-digits="1"/></number:number-style>)", "0"},
        Case{R"(<number:number-style style:name="N"><number:number number:decimal-places="3" number:min-decimal-places="1" number:min-integer-digits="1" number:grouping="true"/></number:number-style>)", "#,##0.0##"},
        Case{R"(<number:percentage-style style:name="N"><number:number number:decimal-places="2" number:min-decimal-places="2" number:min-integer-digits="1"/><number:text>%</number:text></number:percentage-style>)", "0.00%"},
        Case{R"(<number:number-style style:name="N"><number:scientific-number number:decimal-places="2" number:min-decimal-places="2" number:min-integer-digits="1" number:min-exponent-digits="2"/></number:number-style>)", "0.00E+00"},
        Case{R"(<number:number-style style:name="N"><number:fraction number:min-integer-digits="0" number:min-numerator-digits="1" number:min-denominator-digits="2"/></number:number-style>)", "# ?/??"},
        Case{R"(<number:text-style style:name="N"><number:text-content/><number:text>-52</number:text></number:text-style>)", "@\"-52\""},
        Case{R"(<number:text-style style:name="N"><number:text>Réf. </number:text><number:text-content/></number:text-style>)", "\"Réf.\" @"},
        Case{R"(<number:text-style style:name="N"><number:text>a"b</number:text><number:text-content/></number:text-style>)", "\"a\\\"b\"@"},
        Case{R"(<number:date-style style:name="N"><number:day number:style="long"/><number:text>/</number:text><number:month number:style="long"/><number:text>/</number:text><number:year number:style="long"/></number:date-style>)", "dd/mm/yyyy"},
        Case{R"(<number:date-style style:name="N"><number:day-of-week number:style="long"/><number:text> </number:text><number:day/><number:text>. </number:text><number:month number:textual="true" number:style="long"/></number:date-style>)", "dddd d. mmmm"},
        Case{R"(<number:time-style style:name="N" number:truncate-on-overflow="false"><number:hours/><number:text>:</number:text><number:minutes number:style="long"/></number:time-style>)", "[h]:mm"},
        Case{R"(<number:time-style style:name="N"><number:hours/><number:text>:</number:text><number:minutes number:style="long"/><number:text> </number:text><number:am-pm/></number:time-style>)", "h:mm AM/PM"},
        Case{R"(<number:time-style style:name="N"><number:minutes number:style="long"/><number:text>:</number:text><number:seconds number:style="long" number:decimal-places="1"/></number:time-style>)", "mm:ss.0"},
        Case{R"(<number:boolean-style style:name="N"><number:boolean/></number:boolean-style>)", "\"TRUE\";\"TRUE\";\"FALSE\""},
        Case{R"(<number:currency-style style:name="N"><number:number number:decimal-places="2" number:min-decimal-places="2" number:min-integer-digits="1" number:grouping="true"/><number:text> </number:text><number:currency-symbol number:language="fr" number:country="FR">€</number:currency-symbol></number:currency-style>)", "#,##0.00 [$€-40C]"},
        Case{R"(<number:number-style style:name="N"><number:number number:decimal-places="99999999" number:min-integer-digits="1"/></number:number-style>)", "0.000000000000000000000000000000"},
        Case{R"(<number:number-style style:name="Other"/>)", "General"}));

TEST(DataStyleSections, MapsGiveExcelSectionsWithColours) {
  EXPECT_EQ(code_of(R"(
    <number:number-style style:name="P0"><number:number number:decimal-places="0" number:min-integer-digits="1" number:grouping="true"/><number:text> €</number:text></number:number-style>
    <number:number-style style:name="N"><style:text-properties fo:color="#ff0000"/><number:text>-</number:text>
      <number:number number:decimal-places="0" number:min-integer-digits="1" number:grouping="true"/><number:text> €</number:text>
      <style:map style:condition="value()&gt;=0" style:apply-style-name="P0"/></number:number-style>)"),
            "#,##0 \"€\";[Red]-#,##0 \"€\"");
  EXPECT_EQ(code_of(R"(
    <number:number-style style:name="Big"><number:number number:decimal-places="1" number:min-integer-digits="1"/></number:number-style>
    <number:number-style style:name="N"><number:number number:decimal-places="0" number:min-integer-digits="1"/>
      <style:map style:condition="value()&gt;=1000" style:apply-style-name="Big"/></number:number-style>)"),
            "[>=1000]0.0;0");
}

TEST(DataStyleSections, AStyleMappingToItselfEndsAtTheDepthLimit) {
  const std::string code = code_of(R"(<number:number-style style:name="N"><number:number number:decimal-places="0" number:min-integer-digits="1"/>
      <style:map style:condition="value()&gt;=0" style:apply-style-name="N"/></number:number-style>)");
  EXPECT_FALSE(code.empty());
  EXPECT_LT(code.size(), 200u);
}

}  // namespace
}  // namespace engine::ods
