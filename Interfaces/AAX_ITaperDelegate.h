#pragma once

/** Untyped base of the taper delegates, so that any of them can be deleted
    through one pointer type. */
class AAX_ITaperDelegateBase
{
public:
    virtual ~AAX_ITaperDelegateBase() = default;
};

/** Maps a parameter's real value to and from the host's normalized range 0..1. */
template <typename T>
class AAX_ITaperDelegate : public AAX_ITaperDelegateBase
{
public:
    ~AAX_ITaperDelegate() override = default;

    /** A new heap copy, owned by the caller. */
    virtual AAX_ITaperDelegate* Clone() const = 0;

    virtual T GetMaximumValue() const = 0;
    virtual T GetMinimumValue() const = 0;

    /** The value limited to the taper's range. */
    virtual T ConstrainRealValue (T value) const = 0;
    virtual T NormalizedToReal (double normalizedValue) const = 0;
    virtual double RealToNormalized (T realValue) const = 0;
};
