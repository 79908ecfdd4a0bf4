// The OpenDocument namespaces the reader matches elements and attributes
// against, under the prefixes LibreOffice writes for them. Matching goes by
// URI, so a document that binds other prefixes reads the same.
#pragma once

namespace engine::ods::ns {

inline constexpr const char* office = "urn:oasis:names:tc:opendocument:xmlns:office:1.0";
inline constexpr const char* style = "urn:oasis:names:tc:opendocument:xmlns:style:1.0";
inline constexpr const char* text = "urn:oasis:names:tc:opendocument:xmlns:text:1.0";
inline constexpr const char* table = "urn:oasis:names:tc:opendocument:xmlns:table:1.0";
inline constexpr const char* draw = "urn:oasis:names:tc:opendocument:xmlns:drawing:1.0";
inline constexpr const char* fo = "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0";
inline constexpr const char* number = "urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0";
inline constexpr const char* svg = "urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0";
inline constexpr const char* form = "urn:oasis:names:tc:opendocument:xmlns:form:1.0";
inline constexpr const char* config = "urn:oasis:names:tc:opendocument:xmlns:config:1.0";
inline constexpr const char* meta = "urn:oasis:names:tc:opendocument:xmlns:meta:1.0";
inline constexpr const char* dc = "http://purl.org/dc/elements/1.1/";
inline constexpr const char* xml = "http://www.w3.org/XML/1998/namespace";
// LibreOffice's extension namespace for Calc, for what OpenDocument 1.3 lacks.
inline constexpr const char* calcext = "urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0";

}  // namespace engine::ods::ns
