// Reference counting shared by every object the stand-in host hands to the
// plug-in. The host owns its objects for its whole lifetime (so what they
// recorded stays readable after the plug-in let go of them); the reference
// count only tells whether the plug-in released everything it took.
#pragma once

#include "AAX_UIDs.h"
#include "IACFUnknown.h"

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

namespace zelkhost
{
    /** Whether host objects keep a record of what the plug-in calls: their
        call lines (calls()) and the requests, packets, notifications and
        view sizes the controller, its automation and the view container
        list. On by default, for the tests that read them; a host that runs
        for long switches it off, so that its memory stays flat. For every
        host object of the process; any thread may read or change it. */
    inline std::atomic<bool> callRecordsKept { true };

    /** What every host object shares, independent of the interface it implements. */
    class HostObjectBase
    {
    public:
        explicit HostObjectBase (std::string kind) : mKind (std::move (kind)) {}
        virtual ~HostObjectBase() = default;

        HostObjectBase (const HostObjectBase&) = delete;
        HostObjectBase& operator= (const HostObjectBase&) = delete;

        const std::string& kind() const noexcept { return mKind; }

        /** References the plug-in still holds. */
        int references() const noexcept { return mReferences.load(); }

        /** Releases that arrived when no reference was held (a plug-in fault). */
        int overReleases() const noexcept { return mOverReleases.load(); }

        /** The address the plug-in sees for every interface of this object. */
        virtual const void* interfaceAddress() const noexcept = 0;

        /** Host objects this one owns and hands out itself (a controller's
            automation delegate and transport). */
        virtual std::vector<const HostObjectBase*> parts() const { return {}; }

        /** The calls this object logs, one line each in the order they came
            (for example "AddName Multiband Saturator"), while callRecordsKept. */
        std::vector<std::string> calls() const
        {
            const std::lock_guard<std::mutex> guard (mCallLock);
            return mCalls;
        }

        void clearCalls()
        {
            const std::lock_guard<std::mutex> guard (mCallLock);
            mCalls.clear();
        }

    protected:
        void logCall (std::string line) const
        {
            if (! callRecordsKept.load (std::memory_order_relaxed))
                return;
            const std::lock_guard<std::mutex> guard (mCallLock);
            mCalls.push_back (std::move (line));
        }

        acfUInt32 addReference() noexcept { return static_cast<acfUInt32> (++mReferences); }

        acfUInt32 dropReference() noexcept
        {
            int current = mReferences.load();
            while (current > 0)
                if (mReferences.compare_exchange_weak (current, current - 1))
                    return static_cast<acfUInt32> (current - 1);

            ++mOverReleases;
            return 0;
        }

    private:
        std::string mKind;
        std::atomic<int> mReferences { 0 };
        std::atomic<int> mOverReleases { 0 };
        mutable std::mutex mCallLock;
        mutable std::vector<std::string> mCalls;
    };

    /** The text of a C string argument for a call line; null reads "<null>". */
    inline std::string argumentText (const char* text) { return text != nullptr ? std::string (text) : std::string ("<null>"); }

    /** Implements IACFUnknown for one interface chain (V1 <- V2 <- ...). Every
        version shares the object's address, so one pointer answers them all.
        Derived classes say which interface IDs they answer in answers(). */
    template <typename Interface>
    class HostObject : public Interface, public HostObjectBase
    {
    public:
        explicit HostObject (std::string kind) : HostObjectBase (std::move (kind)) {}

        acfResult QueryInterface (const acfIID& iid, void** out) override
        {
            if (out == nullptr)
                return ACF_E_NOINTERFACE;

            *out = nullptr;
            void* answer = iid == IID_IACFUnknown ? static_cast<IACFUnknown*> (this) : answers (iid);
            if (answer == nullptr)
                return ACF_E_NOINTERFACE;

            // Every answer is an interface of a single chain rooted in
            // IACFUnknown, so its address is that of its IACFUnknown; the
            // reference goes to whichever object answered (this or a delegate).
            static_cast<IACFUnknown*> (answer)->AddRef();
            *out = answer;
            return ACF_OK;
        }

        acfUInt32 AddRef() override  { return addReference(); }
        acfUInt32 Release() override { return dropReference(); }

        const void* interfaceAddress() const noexcept override { return static_cast<const Interface*> (this); }

    protected:
        /** The pointer to hand out for an interface ID, or null when not answered. */
        virtual void* answers (const acfIID& iid) = 0;

        /** Hands out this object as one of its interface versions. */
        template <typename Version>
        void* as() noexcept { return static_cast<Version*> (this); }
    };
}
