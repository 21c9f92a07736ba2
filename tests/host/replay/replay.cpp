// Replays case files against built plug-ins through the stand-in host:
//
//   replay PLUGIN_DIR SUFFIX CASES_DIR OUTCOMES [--record OUT_DIR]
//
// CASES_DIR/index.txt names the cases, one a line, by the first word
// (CASES_DIR/<word>.txt).  Each case loads PLUGIN_DIR/<op><SUFFIX> (once per
// plug-in), finds mexFunction and calls it with the case's arguments.  The
// outcome of every case (the result's size and the bits of each value, or the
// error message) goes to OUTCOMES, in a form that is the same on every
// platform; failures against the expectations go to standard output, then a
// line "replay: N passed, N failed, N skipped".  A case whose plug-in file
// does not exist is skipped; one without an expectation only has its outcome
// written.  With --record, each case is also written to OUT_DIR with its
// outcome as the expectation, together with an index.
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "case_format.h"
#include "tests/host/standin/standin.h"
#include "loader.h"

namespace {

bool readFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    text = s.str();
    return true;
}

bool writeFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    return static_cast<bool>(out);
}

bool exists(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return static_cast<bool>(in);
}

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

struct Plugin {
    bool present = false;
    std::string problem;  // why a present plug-in cannot be called
    standin::Entry entry = nullptr;
};

struct Replay {
    std::string pluginDir, suffix;
    std::map<std::string, Plugin> plugins;
    std::vector<loader::Handle> handles;

    const Plugin& plugin(const std::string& op) {
        auto found = plugins.find(op);
        if (found != plugins.end()) return found->second;
        Plugin& p = plugins[op];
        const std::string path = pluginDir + "/" + op + suffix;
        p.present = exists(path);
        if (!p.present) return p;
        std::string error;
        loader::Handle h = loader::open(path, error);
        if (h == nullptr) {
            p.problem = "cannot load " + path + ": " + error;
            return p;
        }
        handles.push_back(h);
        p.entry = loader::find<standin::Entry>(h, "mexFunction");
        if (p.entry == nullptr) p.problem = path + " has no mexFunction";
        return p;
    }

    ~Replay() {
        for (loader::Handle h : handles) loader::close(h);
    }
};

std::string describe(const cases::Matrix& m) {
    std::string s = "result " + std::to_string(m.rows) + " " + std::to_string(m.cols);
    for (double v : m.values) s += " " + cases::formatBits(v);
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5 && !(argc == 7 && std::string(argv[5]) == "--record")) {
        std::fprintf(stderr, "usage: %s PLUGIN_DIR SUFFIX CASES_DIR OUTCOMES [--record OUT_DIR]\n", argv[0]);
        return 2;
    }
    // The plug-ins import the error operation from libmex: taking its address
    // makes the runner load libmex along with libmx before any plug-in.
    void (*volatile hostError)(const char*) = mexErrMsgTxt;
    (void)hostError;

    Replay replay;
    replay.pluginDir = argv[1];
    replay.suffix = argv[2];
    const std::string casesDir = argv[3];
    const std::string recordDir = argc == 7 ? argv[6] : "";

    std::string index;
    if (!readFile(casesDir + "/index.txt", index)) {
        std::fprintf(stderr, "replay: cannot read %s/index.txt\n", casesDir.c_str());
        return 2;
    }
    std::ostringstream outcomes, recordedIndex;
    int passed = 0, failed = 0, skipped = 0;
    std::istringstream lines(index);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream words(line);
        std::string name;
        if (!(words >> name) || name[0] == '#') continue;

        std::string text, error;
        cases::Case c;
        if (!readFile(casesDir + "/" + name + ".txt", text) || !cases::parse(text, c, error)) {
            std::printf("FAIL %s: unreadable case %s\n", name.c_str(), error.c_str());
            outcomes << name << " unreadable\n";
            ++failed;
            continue;
        }
        const Plugin& p = replay.plugin(c.op);
        if (!p.present) {
            outcomes << name << ' ' << c.op << " skipped\n";
            ++skipped;
            continue;
        }
        if (p.entry == nullptr) {
            std::printf("FAIL %s: %s\n", name.c_str(), p.problem.c_str());
            outcomes << name << ' ' << c.op << " unloadable\n";
            ++failed;
            continue;
        }

        std::vector<standin::Array> owned;
        std::vector<const mxArray*> args;
        for (const cases::Matrix& m : c.args) {
            std::vector<std::size_t> dims{m.rows, m.cols};
            dims.insert(dims.end(), m.moreDims.begin(), m.moreDims.end());
            owned.push_back(standin::array(dims, m.values));
            args.push_back(owned.back().get());
        }
        standin::Outcome o = standin::call(p.entry, args, 1);

        cases::Case recorded = c;
        std::string got;
        bool ok = true;
        if (o.raised) {
            got = "error " + o.message;
            recorded.expect = cases::Case::Expect::Error;
            recorded.error = o.message;
            if (c.expect == cases::Case::Expect::Result) ok = false;
            if (c.expect == cases::Case::Expect::Error) ok = endsWith(o.message, c.error);
        } else if (!o.result) {
            got = "no result";
            recorded.expect = cases::Case::Expect::Nothing;
            ok = c.expect == cases::Case::Expect::Nothing;
        } else {
            cases::Matrix r;
            r.rows = standin::rows(o.result.get());
            r.cols = standin::cols(o.result.get());
            r.values = standin::values(o.result.get());
            got = describe(r);
            recorded.expect = cases::Case::Expect::Result;
            recorded.result = r;
            if (c.expect == cases::Case::Expect::Error) ok = false;
            if (c.expect == cases::Case::Expect::Result) {
                ok = r.rows == c.result.rows && r.cols == c.result.cols &&
                     r.values.size() == c.result.values.size();
                for (std::size_t i = 0; ok && i < r.values.size(); ++i)
                    ok = cases::sameValue(r.values[i], c.result.values[i]);
            }
        }
        outcomes << name << ' ' << c.op << ' ' << got << '\n';
        if (ok) {
            ++passed;
        } else {
            ++failed;
            std::printf("FAIL %s (%s): got %s\n", name.c_str(), c.op.c_str(),
                        got.substr(0, 200).c_str());
        }
        if (!recordDir.empty()) {
            if (!writeFile(recordDir + "/" + name + ".txt", cases::format(recorded))) {
                std::fprintf(stderr, "replay: cannot write into %s\n", recordDir.c_str());
                return 2;
            }
            recordedIndex << line << '\n';
        }
    }
    if (!writeFile(argv[4], outcomes.str()) ||
        (!recordDir.empty() && !writeFile(recordDir + "/index.txt", recordedIndex.str()))) {
        std::fprintf(stderr, "replay: cannot write the outcomes\n");
        return 2;
    }
    std::printf("replay: %d passed, %d failed, %d skipped\n", passed, failed, skipped);
    return failed == 0 ? 0 : 1;
}
