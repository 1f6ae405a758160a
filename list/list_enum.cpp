#include "list/list_enum.h"

#include <memory>
#include <new>
#include <string>
#include <vector>

#include "frame/module.h"
#include "frame/text.h"

namespace torvane {
namespace {

LONG g_alive = 0;

// The entries' bytes back to back and where each ends.
struct Snapshot {
    std::string bytes;
    std::vector<std::size_t> ends;

    std::size_t size() const noexcept { return ends.size(); }
    std::string_view at(std::size_t i) const noexcept {
        const std::size_t start = i ? ends[i - 1] : 0;
        return std::string_view(bytes.data() + start, ends[i] - start);
    }
};

class EntryEnumerator final : public IEnumVARIANT {
public:
    EntryEnumerator(std::shared_ptr<const Snapshot> snapshot, std::size_t position) noexcept
        : snapshot_(std::move(snapshot)), position_(position) {
        ::InterlockedIncrement(&g_alive);
        module::object_created();  // the module stays loaded while an enumerator lives
    }
    ~EntryEnumerator() {
        ::InterlockedDecrement(&g_alive);
        module::object_destroyed();
    }
    EntryEnumerator(const EntryEnumerator&) = delete;
    EntryEnumerator& operator=(const EntryEnumerator&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) noexcept override {
        if (!out) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IEnumVARIANT) {
            *out = static_cast<IEnumVARIANT*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() noexcept override { return static_cast<ULONG>(::InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() noexcept override {
        const LONG n = ::InterlockedDecrement(&refs_);
        if (n == 0) delete this;
        return static_cast<ULONG>(n);
    }

    // Up to `count` entries from the position on, as strings. S_FALSE when
    // fewer were left. `fetched` may be left out only when one is asked for.
    // When memory runs out nothing is handed out and the position stays.
    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* out, ULONG* fetched) noexcept override {
        if (fetched) *fetched = 0;
        if (count == 0) return S_OK;
        if (!out || (!fetched && count != 1)) return E_INVALIDARG;
        const std::size_t left = snapshot_->size() - position_;
        const std::size_t n = count < left ? count : left;
        try {
            std::vector<Variant> values(n);
            for (std::size_t i = 0; i < n; ++i) values[i] = Variant::bstr(to_bstr(snapshot_->at(position_ + i)));
            for (std::size_t i = 0; i < n; ++i) values[i].release_to(&out[i]);
        } catch (...) {
            return E_OUTOFMEMORY;
        }
        position_ += n;
        if (fetched) *fetched = static_cast<ULONG>(n);
        return n == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) noexcept override {
        const std::size_t left = snapshot_->size() - position_;
        if (count > left) {
            position_ = snapshot_->size();
            return S_FALSE;
        }
        position_ += count;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reset() noexcept override {
        position_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** out) noexcept override {
        if (!out) return E_POINTER;
        *out = new (std::nothrow) EntryEnumerator(snapshot_, position_);
        return *out ? S_OK : E_OUTOFMEMORY;
    }

private:
    volatile LONG refs_ = 1;
    std::shared_ptr<const Snapshot> snapshot_;
    std::size_t position_;
};

}  // namespace

ComPtr<IUnknown> create_entry_enumerator(const EntryStore& entries) {
    auto snapshot = std::make_shared<Snapshot>();
    std::size_t total = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) total += entries.at(i).size();
    snapshot->bytes.reserve(total);
    snapshot->ends.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        snapshot->bytes.append(entries.at(i));
        snapshot->ends.push_back(snapshot->bytes.size());
    }
    return ComPtr<IUnknown>::adopt(new EntryEnumerator(std::move(snapshot), 0));
}

LONG entry_enumerators_alive() noexcept { return g_alive; }

}  // namespace torvane
