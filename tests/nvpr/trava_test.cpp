// Byte-range locks: two handles of one process exclude each other, shared
// locks coexist, requests never block, bad regions are refused, and the
// scoped lock releases its region.
#include <gtest/gtest.h>

#include "nvpr/nv_error.h"
#include "nvpr/nv_file.h"
#include "nvpr/nv_filelock.h"
#include "support/drive.h"

namespace {

struct Trava : ::testing::Test {
  DriveTemp drive;
  NV_Arquivo a, b;
  void SetUp() override {
    drive.escreve("kovra/log/LOG_0315.dat", std::string(64, 'x'));
    ASSERT_EQ(NV_FileOpen(&a, "\\kovra\\log\\LOG_0315.dat", NV_O_RDWR), NV_OK);
    ASSERT_EQ(NV_FileOpen(&b, "/KOVRA/LOG/log_0315.DAT", NV_O_RDWR), NV_OK);
  }
};

TEST_F(Trava, TwoHandlesOfOneProcessExcludeEachOther) {
  ASSERT_EQ(NV_FileLock(&a, 0, 1, NV_LOCK_EXTENDIDO | NV_LOCK_EXCLUSIVO), NV_OK);
  EXPECT_EQ(NV_FileLock(&b, 0, 1, NV_LOCK_EXTENDIDO | NV_LOCK_EXCLUSIVO), NV_EACCES);
  EXPECT_EQ(NV_FileLock(&b, 0, 10, NV_LOCK_EXTENDIDO), NV_EACCES);   // overlapping, shared
  EXPECT_EQ(NV_FileLock(&b, 1, 10, NV_LOCK_EXCLUSIVO), NV_OK);       // next to it
  EXPECT_EQ(NV_FileUnlock(&a, 0, 1), NV_OK);
  EXPECT_EQ(NV_FileLock(&b, 0, 1, NV_LOCK_EXCLUSIVO), NV_OK);
}

TEST_F(Trava, SharedLocksCoexistAndBlockExclusiveOnes) {
  ASSERT_EQ(NV_FileLock(&a, 8, 8, 0), NV_OK);
  EXPECT_EQ(NV_FileLock(&b, 8, 8, 0), NV_OK);
  EXPECT_EQ(NV_FileLock(&b, 12, 1, NV_LOCK_EXCLUSIVO), NV_EACCES);
  EXPECT_EQ(NV_FileLock(&a, 12, 1, NV_LOCK_EXCLUSIVO), NV_EACCES);
  ASSERT_EQ(NV_FileUnlock(&a, 8, 8), NV_OK);
  EXPECT_EQ(NV_FileLock(&b, 12, 1, NV_LOCK_EXCLUSIVO), NV_OK);   // its own shared region
  EXPECT_EQ(NV_FileLock(&a, 8, 1, 0), NV_OK);                    // the rest is still shared
}

TEST_F(Trava, ClosingAHandleReleasesItsLocks) {
  ASSERT_EQ(NV_FileLock(&a, 0, 4, NV_LOCK_EXCLUSIVO), NV_OK);
  NV_FileClose(&a);
  EXPECT_EQ(NV_FileLock(&b, 0, 4, NV_LOCK_EXCLUSIVO), NV_OK);
}

TEST_F(Trava, BadRegionsAndHandles) {
  EXPECT_EQ(NV_FileLock(&a, -1, 1, NV_LOCK_EXCLUSIVO), NV_EINVAL);
  EXPECT_EQ(NV_FileLock(&a, 0, -1, NV_LOCK_EXCLUSIVO), NV_EINVAL);
  EXPECT_EQ(NV_FileUnlock(&a, -5, 1), NV_EINVAL);
  EXPECT_EQ(NV_FileLock(&a, INT64_MAX, 2, NV_LOCK_EXCLUSIVO), NV_EINVAL);
  NV_Arquivo fechado;
  EXPECT_EQ(NV_FileLock(&fechado, 0, 1, NV_LOCK_EXCLUSIVO), NV_EBADF);
  EXPECT_EQ(NV_FileLock(nullptr, 0, 1, NV_LOCK_EXCLUSIVO), NV_EBADF);
  // A region of no bytes locks nothing and conflicts with nothing.
  ASSERT_EQ(NV_FileLock(&a, 0, 64, NV_LOCK_EXCLUSIVO), NV_OK);
  EXPECT_EQ(NV_FileLock(&b, 0, 0, NV_LOCK_EXCLUSIVO), NV_OK);
}

TEST_F(Trava, ScopedLockReleasesItsRegion) {
  {
    NV_TravaRegiao t;
    ASSERT_EQ(t.Trava(&a, 0, 1, NV_LOCK_EXCLUSIVO), NV_OK);
    EXPECT_TRUE(t.Travada());
    EXPECT_EQ(NV_FileLock(&b, 0, 1, NV_LOCK_EXCLUSIVO), NV_EACCES);
    NV_TravaRegiao u;
    EXPECT_EQ(u.Trava(&b, 0, 1, NV_LOCK_EXCLUSIVO), NV_EACCES);
    EXPECT_FALSE(u.Travada());
  }
  EXPECT_EQ(NV_FileLock(&b, 0, 1, NV_LOCK_EXCLUSIVO), NV_OK);
}

}  // namespace
