#pragma once

#include "Corvane.h"
#include "PathTrust.h"

#include <functional>

namespace Lanvo {

inline constexpr const char *WritabilityMarker = "lanvo.___";

// Creates the marker file in Directory and removes it again; true when the creation succeeded.
bool createWritabilityMarker(const QString &directory);

// Empty when the work folder may be copied into and run from: the start folder, or an alternate
// folder whose whole path, and every emulator, settings and BIOS file in it, no other user can
// change. Otherwise the message that refuses it, saying which folder, why and what to do.
QString workFolderRefusal(const TCorvane &emulator);
QString alternateRefusalText(const TCorvane &emulator, const TrustRefusal &refusal);

// Decides where the program works: the start directory when it can be written, otherwise the
// alternate directory, into which the emulator and its files are copied when they are missing there.
class WorkDirectoryDecision
{
public:
    using MarkerTest = std::function<bool(const QString &directory)>;

    WorkDirectoryDecision(TCorvane &emulator, IPrompts &prompts);

    // The writability test; tests replace it to stand for a read-only medium.
    void setMarkerTest(MarkerTest test) { m_markerTest = std::move(test); }
    // The alternate directory when the start directory's settings name none (tests keep it in
    // their own temporary folder).
    void setDefaultAlternateDirectory(const QString &directory) { m_defaultAlternate = directory; }

    // False when the alternate directory can't be written or trusted, or its name can't be held: the
    // user has been told, the program ends.
    bool decide();

private:
    bool readAlternateDirectory();
    bool copyMissingFiles();
    enum NameCase { ExactCase, AnyCase };
    bool copyOne(const QString &name, const QString &failureText, NameCase nameCase);

    TCorvane &m_emulator;
    IPrompts &m_prompts;
    MarkerTest m_markerTest;
    QString m_defaultAlternate;
};

} // namespace Lanvo
