#pragma once
// A fresh run's state over a simulated network in which this computer (a
// workgroup computer until a test says otherwise) keeps the user "bob".
// Each test ends with every network buffer freed and every LSA handle
// closed.
#include <gtest/gtest.h>

#include <string>

#include "shell/setup_state.h"
#include "support/in_process.h"
#include "support/simulated_network.h"

class NetworkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetSetupState();
        net_.AddUser(net_.ThisComputer(), L"bob");
    }

    void TearDown() override
    {
        EXPECT_EQ(net_.OutstandingBuffers(), 0);
        EXPECT_EQ(net_.OpenLsaHandles(), 0);
    }

    // This computer is a member of DOM, whose controller is DC1; DOM keeps
    // "alice" and trusts TRUSTED, which keeps "carol".
    void JoinDomain()
    {
        net_.AddDomain(L"DOM", L"DC1");
        net_.AddUser(L"DOM", L"alice");
        net_.AddDomain(L"TRUSTED", L"TDC");
        net_.AddUser(L"TRUSTED", L"carol");
        net_.Trust(L"DOM", L"TRUSTED");
        net_.JoinDomain(L"DOM");
    }

    // This computer's own account of `user`.
    std::wstring Local(const std::wstring& user) const { return net_.ThisComputer() + L"\\" + user; }

    SimulatedNetwork net_;
};
