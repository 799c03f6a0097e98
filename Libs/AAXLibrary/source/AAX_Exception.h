// The library's exceptions, result names and the checked result that turns
// an unexpected result code into a traced, thrown AAX::Exception::ResultError.
// Exceptions never cross into the host: every exported entry point catches
// them (see AAX_Exports.h).
#pragma once

#include "AAX.h"

#include <set>
#include <string>

namespace AAX
{
    /** The name of a result code: "AAX_SUCCESS", one of the AAX_ERROR_/
        AAX_RESULT_ names, or "<unknown error code>". */
    std::string AsStringResult (AAX_Result result);

    namespace Exception
    {
        /** Base of the library's exceptions: a message with optional
            function and line texts, combined into the text what() returns. */
        class Any
        {
        public:
            explicit Any (const std::string& message,
                          const std::string& function = std::string(),
                          const std::string& line = std::string());
            virtual ~Any() = default;

            Any (const Any&) = default;
            Any& operator= (const Any&) = default;

            /** message + " func:" function (if any) + " line:" line (if any). */
            const char* what() const noexcept { return mWhat.c_str(); }

            const std::string& Message() const noexcept  { return mMessage; }
            const std::string& Function() const noexcept { return mFunction; }
            const std::string& Line() const noexcept     { return mLine; }

        private:
            std::string mMessage;
            std::string mFunction;
            std::string mLine;
            std::string mWhat;
        };

        /** A result code that the caller did not accept. Its message reads
            e.g. "AAX_ERROR_NULL_OBJECT (-20004)". */
        class ResultError : public Any
        {
        public:
            explicit ResultError (AAX_Result result);

            AAX_Result Result() const noexcept { return mResult; }

        private:
            AAX_Result mResult;
        };
    }
}

/** Holds a result and checks every result given to it: a result outside
    the accepted set (by default only AAX_SUCCESS) is traced at priority
    0x4000000 as "AAX_CheckedResult - throwing <text>" and thrown as
    AAX::Exception::ResultError. */
class AAX_CheckedResult
{
public:
    AAX_CheckedResult();
    AAX_CheckedResult (AAX_Result result);

    AAX_CheckedResult& operator= (AAX_Result result);

    /** Accepts one more result code besides the ones already accepted. */
    void AddAcceptedResult (AAX_Result result);
    /** Back to accepting only AAX_SUCCESS. */
    void ResetAcceptedResults();

    AAX_Result LastError() const noexcept { return mLastError; }
    void ClearLastError() noexcept        { mLastError = 0; }

    operator AAX_Result() const noexcept  { return mCurrentResult; }

private:
    void Check();

    AAX_Result mCurrentResult = 0;
    AAX_Result mLastError = 0;
    std::set<int32_t> mAcceptedResults { 0 };
};
