// The simulated registry of a simulation root: a key tree with typed values, kept in the text
// file "registry.reg" of the root in a REGEDIT4-like form that a person can read and edit.
//
//   [HKEY_LOCAL_MACHINE\Software\Example]
//   "Text"="plain REG_SZ, data = text and its NUL"
//   "Padded"=str(50):"1"        REG_SZ of 50 bytes: the text, its NUL and zeros
//   "Number"=dword:0000002a
//   "Other"=hex(3):01,02,ff     any type as raw bytes
//
// Key and value names compare without regard to case, as on Windows, and keep their case.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace vext::sim {

struct RegValue {
    std::string name;  // empty: the key's default value, written as @
    uint32_t type = 0;
    std::vector<uint8_t> data;
};

struct RegKeyNode {
    std::string path;  // full path with its root, e.g. "HKEY_LOCAL_MACHINE\Software"
    std::vector<RegValue> values;

    RegValue* findValue(const std::string& name);
    const RegValue* findValue(const std::string& name) const;
    void setValue(RegValue value);
    bool deleteValue(const std::string& name);
};

struct CaseInsensitiveLess {
    bool operator()(const std::string& a, const std::string& b) const;
};

bool equalsIgnoreCase(const std::string& a, const std::string& b);

class RegistryTree {
  public:
    // Normalises a path: separators are backslashes, empty components are dropped.
    static std::string normalise(const std::string& path);

    RegKeyNode* find(const std::string& path);
    const RegKeyNode* find(const std::string& path) const;
    // Finds the key or creates it with every missing parent.
    RegKeyNode& create(const std::string& path);
    // Deletes a key and everything below it; false when it did not exist.
    bool deleteKey(const std::string& path);

    const std::map<std::string, RegKeyNode, CaseInsensitiveLess>& keys() const { return keys_; }

    // The text form of the whole tree, or of one key and the keys below it.
    std::string format(const std::string& under = "") const;
    // True when path is the key named by under or lies below it.
    static bool isAtOrBelow(const std::string& path, const std::string& under);
    // Parses the text form; on a malformed line, returns false and names it in *error.
    bool parse(const std::string& text, std::string* error);

  private:
    std::map<std::string, RegKeyNode, CaseInsensitiveLess> keys_;
};

// Formats one value's data as it stands after '=' in the text form.
std::string formatValueData(const RegValue& value);

// The registry file of the current simulation root, read and written under the root's registry
// lock. Every access loads the file afresh, so that several processes share one tree.
class SimRegistry {
  public:
    static std::string filePath();

    // Runs f on the tree under the lock; when f returns true the tree is written back atomically.
    template <typename F>
    static bool update(F f) {
        Session session;
        if (!session.ok()) {
            return false;
        }
        if (!f(session.tree())) {
            return false;
        }
        return session.save();
    }

    // Runs f on a snapshot of the tree, read under the lock.
    template <typename F>
    static auto read(F f) {
        Session session;
        return f(static_cast<const RegistryTree&>(session.tree()));
    }

  private:
    class Session {
      public:
        Session();
        ~Session();
        Session(const Session&) = delete;
        Session& operator=(const Session&) = delete;
        bool ok() const { return ok_; }
        RegistryTree& tree() { return tree_; }
        bool save();

      private:
        int lockFd_ = -1;
        bool ok_ = false;
        RegistryTree tree_;
    };
};

}  // namespace vext::sim
