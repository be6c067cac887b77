#pragma once

#include <string>
#include <vector>

namespace zelvar {

// How the solver works, read from an optional parameter file bpmpd.par.
//
// The file holds lines "KEY = VALUE" (key case-insensitive, blanks around '='
// optional, a trailing period after the value allowed, as in "SMETHOD1 = 0.").
// Lines starting with '*' or ';' are comments; reading stops at a line
// END_OPT; lines without '=', unknown keys and unreadable values are ignored.
// Known key: SMETHOD1 = 0 selects the second, more robust method (any other
// number selects the default method; the last SMETHOD1 line wins).
struct SolverSettings {
    bool robustMethod = false;

    // Settings from the parameter file at path; defaults when it is missing,
    // unreadable or says nothing we know.
    [[nodiscard]] static SolverSettings fromFile(const std::string &path);

    // Settings from the first bpmpd.par of standardPlaces() that exists;
    // defaults when there is none.
    [[nodiscard]] static SolverSettings fromStandardPlaces();

    // Where bpmpd.par is looked for, in order: "bpmpd.par" in the current
    // working directory, then "$XDG_CONFIG_HOME/zelvar/bpmpd.par" when
    // XDG_CONFIG_HOME holds an absolute path, else "$HOME/.config/zelvar/bpmpd.par"
    // (left out when HOME is not set either).
    [[nodiscard]] static std::vector<std::string> standardPlaces();
};

} // namespace zelvar
