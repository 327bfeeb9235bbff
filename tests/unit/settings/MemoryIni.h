#pragma once
// An in-memory settings file for the table tests: sections and keys in file
// order, matched without regard to case like the private-profile functions,
// with a log of every key the schema reads or writes.
#include <algorithm>
#include <cctype>
#include <string>
#include <utility>
#include <vector>

#include "settings/SettingsSchema.h"
#include "settings/ValueRules.h"

class MemoryIni : public settings::IniStore {
  public:
    struct Key {
        std::string name;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Key> keys;
    };
    struct Access {
        std::string section;
        std::string key;
        bool write;
    };

    int32_t ReadInteger(const char* section, const char* key, int32_t defaultValue) override {
        log.push_back({section, key, false});
        const Key* found = Find(section, key);
        return found ? settings::IntegerFromText(found->value, defaultValue) : defaultValue;
    }
    std::string ReadText(const char* section, const char* key, const char* defaultValue) override {
        log.push_back({section, key, false});
        const Key* found = Find(section, key);
        return found ? found->value : std::string(defaultValue);
    }
    void WriteText(const char* section, const char* key, const std::string& value) override {
        log.push_back({section, key, true});
        Section* s = FindSection(section);
        if (!s) {
            sections.push_back({section, {}});
            s = &sections.back();
        }
        for (Key& k : s->keys) {
            if (Same(k.name, key)) {
                k.value = value;
                return;
            }
        }
        s->keys.push_back({key, value});
    }

    void Set(const std::string& section, const std::string& key, const std::string& value) {
        WriteText(section.c_str(), key.c_str(), value);
        log.clear();
    }
    const std::string* Get(const std::string& section, const std::string& key) const {
        const Key* k = Find(section, key);
        return k ? &k->value : nullptr;
    }

    std::vector<Section> sections;
    std::vector<Access> log;

  private:
    static bool Same(const std::string& a, const std::string& b) {
        return a.size() == b.size() &&
               std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
                   return std::tolower(static_cast<unsigned char>(x)) ==
                          std::tolower(static_cast<unsigned char>(y));
               });
    }
    Section* FindSection(const std::string& name) {
        for (Section& s : sections) {
            if (Same(s.name, name)) return &s;
        }
        return nullptr;
    }
    const Key* Find(const std::string& section, const std::string& key) const {
        for (const Section& s : sections) {
            if (!Same(s.name, section)) continue;
            for (const Key& k : s.keys) {
                if (Same(k.name, key)) return &k;
            }
        }
        return nullptr;
    }
};
