// Basic types shared by the host interface library and the host's ACF/AAX
// interfaces: result codes, identifiers, geometry and the GUID type through
// which interfaces are named.
#pragma once

#include <cstdint>
#include <cstring>

// ---------------------------------------------------------------------------
// ACF level: GUIDs and results

/** A 128-bit interface, class or component identifier in the usual layout
    of a textual GUID (Data1-Data2-Data3-Data4[0..1]-Data4[2..7]). */
struct acfUID
{
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t  Data4[8];
};

typedef acfUID acfIID;    ///< interface identifier
typedef acfUID acfCLSID;  ///< class / component identifier

inline bool operator== (const acfUID& a, const acfUID& b) noexcept
{
    return a.Data1 == b.Data1 && a.Data2 == b.Data2 && a.Data3 == b.Data3
        && std::memcmp (a.Data4, b.Data4, sizeof (a.Data4)) == 0;
}

inline bool operator!= (const acfUID& a, const acfUID& b) noexcept { return ! (a == b); }

/** Result of an ACF call: 0 is success, negative values are failures. */
typedef int32_t acfResult;

enum : int32_t
{
    ACF_OK            = 0,
    ACF_E_NOINTERFACE = static_cast<int32_t> (0x80000004u),
    ACF_E_UNEXPECTED  = static_cast<int32_t> (0x8000FFFFu)
};

typedef uint32_t acfUInt32;
typedef int32_t  acfSInt32;
typedef uint64_t acfUInt64;

// ---------------------------------------------------------------------------
// AAX level: scalar types

typedef int32_t     AAX_Result;         ///< 0 = AAX_SUCCESS, see AAX_Errors.h
typedef uint32_t    AAX_CTypeID;        ///< four-character type / ID code
typedef const char* AAX_CParamID;       ///< NUL-terminated parameter identifier
typedef const char* AAX_CEffectID;      ///< NUL-terminated effect identifier
typedef int32_t     AAX_CPropertyValue; ///< value of a description property
typedef int32_t     AAX_CFieldIndex;    ///< index of a field in an algorithm context
typedef uint8_t     AAX_CBoolean;       ///< host-interface boolean (0 or 1)
typedef float       AAX_CSampleRate;
typedef int64_t     AAX_CTimeOfDay;
typedef uint64_t    AAX_CTransportCounter;
typedef uint32_t    AAX_CSelector;      ///< ID of a registered process procedure
typedef const char* AAX_CProcPtrID;     ///< ID of a procedure registered with AddProcPtr
typedef acfUID      AAX_Feature_UID;    ///< ID of a host feature (description host)

/** The description property identifier (numbering belongs to the host). */
typedef int32_t AAX_EProperty;
/** Stem format code: (format index << 16) | channel count. */
typedef int32_t AAX_EStemFormat;
/** Native or TI target platform code. */
typedef int32_t AAX_ETargetPlatform;
/** Update-source tag passed with parameter updates. */
typedef int32_t AAX_EUpdateSource;
/** Highlight colour index for control highlighting. */
typedef int32_t AAX_EHighlightColor;
/** Index of a custom label string the host may ask the GUI for. */
typedef int32_t AAX_EPlugInStrings;
/** Page-table copy types. */
typedef int32_t AAX_ETableType;
/** Feature support level reported by the host. */
typedef int32_t AAX_ESupportLevel;
/** Kind of resource registered with an effect descriptor. */
typedef int32_t AAX_EResourceType;
/** Kind of MIDI node. */
typedef int32_t AAX_EMIDINodeType;
/** Host frame rates for time code and feet/frames positions. */
typedef int32_t AAX_EFrameRate;
typedef int32_t AAX_EFeetFramesRate;
/** Data-in port flavour. */
typedef int32_t AAX_EDataInPortType;
/** DMA mode of a DMA instance field. */
typedef int32_t AAX_EDmaMode;

/** One MIDI message with its timestamp. */
struct AAX_CMidiPacket
{
    uint32_t mTimestamp  = 0;
    uint32_t mLength     = 0;
    uint8_t  mData[4]    = {};
    AAX_CBoolean mIsImmediate = 0;
};

/** Manufacturer/product/plug-in ID triad used by array-valued properties. */
struct AAX_SPlugInIdentifierTriad
{
    AAX_CTypeID mManufacturerID = 0;
    AAX_CTypeID mProductID      = 0;
    AAX_CTypeID mPlugInID       = 0;
};

/** A point or size in the host's view coordinates. */
struct AAX_Point
{
    AAX_Point() = default;
    AAX_Point (float v, float h) : vert (v), horz (h) {}

    float vert = 0.0f;
    float horz = 0.0f;
};

/** A rectangle in the host's view coordinates. */
struct AAX_Rect
{
    float top    = 0.0f;
    float left   = 0.0f;
    float width  = 0.0f;
    float height = 0.0f;
};

// Procedure types registered with the descriptors. Their signatures belong
// to the host; the library passes them through as opaque function pointers.
typedef void (*AAX_CProcessProc) (void* const inInstancesBegin[], const void* inInstancesEnd);
typedef int32_t (*AAX_CInstanceInitProc) (const void* inInstanceContextPtr, int32_t inAction);
typedef int32_t (*AAX_CBackgroundProc)();
typedef void* (*AAX_CCreateObjectProc)();

/** Trace priorities used by the library when it reports to the host. */
enum AAX_ETracePriority : int32_t
{
    AAX_eTracePriority_Critical = 0x8000000, ///< caught errors
    AAX_eTracePriority_Normal   = 0x4000000  ///< notes, e.g. before a checked result throws
};

class IACFUnknown;
