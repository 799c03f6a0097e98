// The library tests' in-process host, compiled into the client tests.
//
// Its source also defines a GetEffectDescriptions of its own for the library
// tests; here that one is renamed, so that registration reaches the client
// layer's description like it does in the bundle.
#define GetEffectDescriptions LibraryTestsGetEffectDescriptions
#include "aax/FakeHost.cpp"
#undef GetEffectDescriptions
