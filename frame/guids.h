#pragma once
// The fixed identities of the library: the creatable class and the dispatch
// interface of each scriptable class. Never change them: scripts, registry
// entries and clients depend on them.
#include <windows.h>

namespace torvane {

// {B622E810-2DAB-4772-B019-EF507E01F324}
inline constexpr CLSID CLSID_TorvaneScriptDialog = {
    0xB622E810, 0x2DAB, 0x4772, {0xB0, 0x19, 0xEF, 0x50, 0x7E, 0x01, 0xF3, 0x24}};
// {0213C2FD-2A68-4EAD-B95E-5A3CF05A08B2}
inline constexpr IID IID_IScriptDialog = {0x0213C2FD, 0x2A68, 0x4EAD, {0xB9, 0x5E, 0x5A, 0x3C, 0xF0, 0x5A, 0x08, 0xB2}};
// {D50C7F8F-59E8-45BC-A528-D2A575D062BA}
inline constexpr IID IID_IListEx = {0xD50C7F8F, 0x59E8, 0x45BC, {0xA5, 0x28, 0xD2, 0xA5, 0x75, 0xD0, 0x62, 0xBA}};
// {EBE522DE-65E3-42FA-AB40-DDCC26C607A5}
inline constexpr IID IID_IForm = {0xEBE522DE, 0x65E3, 0x42FA, {0xAB, 0x40, 0xDD, 0xCC, 0x26, 0xC6, 0x07, 0xA5}};
// {4D6191BE-48F9-4471-AEB2-9E92E0DFB3B2}
inline constexpr IID IID_IOutputWindow = {0x4D6191BE, 0x48F9, 0x4471, {0xAE, 0xB2, 0x9E, 0x92, 0xE0, 0xDF, 0xB3, 0xB2}};

inline constexpr char kProgId[] = "TorvaneScriptDialog";

}  // namespace torvane
