#pragma once
// korvel-skin check: loads a skin folder with the program's own loader and
// lists what would go wrong or look wrong, each finding with its file, line
// and severity.
#include <ostream>
#include <string>
#include <vector>

#include "skin/skin_files.h"

namespace korvel {

enum class TCheckSeverity { Error, Warning };

struct TCheckFinding {
    std::string File;           // relative to the skin folder ("Options.dat", a picture's name)
    int Line = 0;               // 1-based; 0 when the finding is about the file as a whole
    TCheckSeverity Severity = TCheckSeverity::Error;
    std::string Message;
};

struct TSkinCheck {
    std::string Skin;           // the folder as given, or the internal skin's name
    std::vector<TCheckFinding> Findings;   // in file order, whole-file findings last
    bool HasErrors() const;
};

// Checks the skin folder (the folder holding Options.dat).
TSkinCheck CheckSkinFolder(const std::string& folder, const TsFileSystem& files = DiskFileSystem());

// Checks the internal skin this tool carries; lines are those of its options
// text, skin/internal/elegant.ini.
TSkinCheck CheckInternalSkin();

// "Options.dat:42: error: ..." (no ":42" when the line is 0).
std::string FindingText(const TCheckFinding& finding);

// {"skin": ..., "errors": N, "warnings": N, "findings": [{"file", "line", "severity", "message"}]}
void WriteCheckJson(std::ostream& out, const TSkinCheck& check);

}  // namespace korvel
