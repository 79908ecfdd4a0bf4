// The COM identity of the type library and its classes. The player and the
// registry rely on these values; D72506.idl spells the same ones for a
// Windows build, and a test keeps the two in agreement.
#pragma once

#include <string_view>

namespace d72506::identity {

inline constexpr std::string_view kLibraryName = "D72506";
inline constexpr std::string_view kLibraryId = "{184F9E5F-B4FE-4D47-B09A-083E4A534340}";
inline constexpr std::string_view kLibraryHelp = "ZEQ Tessar Commun - Dll interactive D72506";

// The course's sub-folder of Excel's templates folder: the module prepares it
// and question 613's trainee saves a template there.
inline constexpr std::string_view kDossierModelesCours = "ZEQ Modèles\\";

inline constexpr std::string_view kModuleClassId = "{111080FC-A9B6-4FCC-A93E-97107464CFD3}";
inline constexpr std::string_view kModuleProgId = "D72506.Module";
inline constexpr std::string_view kModuleInterfaceId = "{37A52008-6758-4F32-B8A9-5ABC16B6E7A6}";

// The player's own type library (R55000) and the interfaces it defines.
inline constexpr std::string_view kPlayerLibraryId = "{B89DEBFB-53AC-11D3-9C0A-004033A65846}";
inline constexpr std::string_view kAbstractModuleId = "{B89DEBFE-53AC-11D3-9C0A-004033A65846}";
inline constexpr std::string_view kPlayerComplementInfoId = "{B89DEBFC-53AC-11D3-9C0A-004033A65846}";

inline constexpr std::string_view kFichiersDeTravailClassId = "{F2CD072D-B37A-46B9-A159-3EA7FBCBE210}";
inline constexpr std::string_view kFichiersDeTravailInterfaceId = "{EE7274A2-EA55-442E-B293-DF3F7CDFCD4D}";
inline constexpr std::string_view kComplementInfoClassId = "{6EDD0538-CF1F-47CA-9FE1-1836DAAE5C93}";
inline constexpr std::string_view kComplementInfoInterfaceId = "{A081E4CD-722D-4EB3-80B9-C902DEBEA059}";
inline constexpr std::string_view kFichierRecordId = "{ADB1CF73-70CC-4999-929F-B5F7685BA57C}";
inline constexpr std::string_view kListHelp = "Tableau de type texte";

inline constexpr std::string_view kQuestion0601ClassId = "{8E77BC24-7303-4C35-99A5-E5FCDA3EB12F}";
inline constexpr std::string_view kQuestion0601InterfaceId = "{F9C37E4E-8202-44FB-9A61-5ED14D1A7C88}";
inline constexpr std::string_view kQuestion0602ClassId = "{7FA1249C-9BC6-4B92-9E03-33E770C06406}";
inline constexpr std::string_view kQuestion0602InterfaceId = "{61860944-59F4-4188-B53F-96620523163B}";

}  // namespace d72506::identity
