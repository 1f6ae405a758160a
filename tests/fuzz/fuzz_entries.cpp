// The entry store against a vector of strings: a random run of inserts,
// stores, erases, clears and equality searches (indices beyond the end
// included, texts taken from the store's own entries included) leaves the
// same entries in both and finds the same ones; slot capacity stays a
// multiple of the growth step.
#include <cstdlib>
#include <string>
#include <vector>

#include "list/entry_text.h"
#include "tests/fuzz/fuzz_input.h"

using namespace torvane;

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

void compare(const EntryStore& store, const std::vector<std::string>& model) {
    check(store.size() == model.size());
    std::size_t live = 0;
    for (std::size_t i = 0; i < model.size(); ++i) {
        check(store.at(i) == model[i]);
        live += model[i].size();
    }
    check(store.capacity() % EntryStore::kGrowthStep == 0);
    check(store.arena_size() >= live);
    if (model.empty()) check(store.arena_size() == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    EntryStore store;
    std::vector<std::string> model;
    std::size_t i = 0;
    while (i + 2 <= size) {
        const unsigned op = data[i] % 6;
        const std::size_t index = data[i + 1] * (data[i] & 0x80 ? 8u : 1u);
        i += 2;
        const std::size_t len = i < size ? data[i] % 32 : 0;
        i += i < size ? 1 : 0;
        const std::size_t take = len < size - i ? len : size - i;
        std::string_view text(reinterpret_cast<const char*>(data + i), take);
        i += take;
        // Now and then the text is (part of) an entry of the store itself.
        if ((data[i - 1] & 0x40) && store.size() && op != 5) {
            const std::string_view own = store.at(index % store.size());
            text = own.substr(own.size() / 3);
        }
        const std::string copy(text);
        switch (op) {
            case 0:
                if (index <= model.size()) {
                    store.insert(index, text);
                    model.insert(model.begin() + static_cast<std::ptrdiff_t>(index), copy);
                }
                break;
            case 1:
                store.insert_extending(index, text);
                if (index > model.size()) model.resize(index);
                model.insert(model.begin() + static_cast<std::ptrdiff_t>(index), copy);
                break;
            case 2:
            case 3:
                store.store(index, text);
                if (index >= model.size()) model.resize(index + 1);
                model[index] = copy;
                break;
            case 4:
                if (index < model.size()) {
                    store.erase(index);
                    model.erase(model.begin() + static_cast<std::ptrdiff_t>(index));
                }
                break;
            case 5:
                if ((data[i - 1] & 0x3F) == 0) {
                    store.clear();
                    model.clear();
                } else if (!model.empty()) {
                    // An equality search (twice: the second may build the index)
                    // answers as a scan of the model.
                    const std::size_t from = index % model.size();
                    std::size_t want = EntryStore::npos;
                    for (std::size_t k = from; k < model.size(); ++k)
                        if (model[k] == copy) {
                            want = k;
                            break;
                        }
                    check(store.find_equal(copy, from, model.size() - 1) == want);
                    check(store.find_equal(copy, from, model.size() - 1) == want);
                }
                break;
        }
        // After each step the size and the touched entry; all of them at
        // the end (and now and then on the way).
        check(store.size() == model.size());
        if (index < model.size()) check(store.at(index) == model[index]);
        if ((i & 15) == 0) compare(store, model);
    }
    compare(store, model);
    return 0;
}
