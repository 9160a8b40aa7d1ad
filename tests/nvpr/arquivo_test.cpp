// File handles: open flags, reads and writes (plain and positional), seek,
// size, flush, close, permissions of new files, and bad handles.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <string>
#include <utility>

#include "nvpr/nv_error.h"
#include "nvpr/nv_file.h"
#include "support/drive.h"

namespace {

struct Arquivo : ::testing::Test {
  DriveTemp drive;
};

TEST_F(Arquivo, WriteSeekReadSizeAndFlush) {
  NV_Arquivo f;
  ASSERT_EQ(NV_FileOpen(&f, "/kovra/bin/a.dat", NV_O_RDWR | NV_O_CREAT), NV_OK);
  size_t n = 0;
  ASSERT_EQ(NV_FileWrite(&f, "abcdef", 6, &n), NV_OK);
  EXPECT_EQ(n, 6u);
  EXPECT_EQ(NV_FileFlush(&f), NV_OK);
  int64_t pos = -1;
  ASSERT_EQ(NV_FileSeek(&f, 2, NV_SEEK_SET, &pos), NV_OK);
  EXPECT_EQ(pos, 2);
  char buf[16] = {};
  ASSERT_EQ(NV_FileRead(&f, buf, sizeof buf, &n), NV_OK);
  EXPECT_EQ(std::string(buf, n), "cdef");
  ASSERT_EQ(NV_FileRead(&f, buf, sizeof buf, &n), NV_OK);
  EXPECT_EQ(n, 0u);   // at the end
  ASSERT_EQ(NV_FileSeek(&f, -1, NV_SEEK_END, &pos), NV_OK);
  EXPECT_EQ(pos, 5);
  ASSERT_EQ(NV_FileSeek(&f, -2, NV_SEEK_CUR, &pos), NV_OK);
  EXPECT_EQ(pos, 3);
  EXPECT_EQ(NV_FileSeek(&f, 0, 3, &pos), NV_EINVAL);
  EXPECT_EQ(NV_FileSeek(&f, -100, NV_SEEK_SET, &pos), NV_EINVAL);

  // Positional forms leave the position alone.
  ASSERT_EQ(NV_FileWriteAt(&f, 10, "XY", 2, &n), NV_OK);
  ASSERT_EQ(NV_FileReadAt(&f, 9, buf, 4, &n), NV_OK);
  EXPECT_EQ(n, 3u);
  EXPECT_EQ(std::memcmp(buf, "\0XY", 3), 0);
  ASSERT_EQ(NV_FileSeek(&f, 0, NV_SEEK_CUR, &pos), NV_OK);
  EXPECT_EQ(pos, 3);
  EXPECT_EQ(NV_FileReadAt(&f, -1, buf, 1, &n), NV_EINVAL);

  int64_t tam = 0;
  ASSERT_EQ(NV_FileSize(&f, &tam), NV_OK);
  EXPECT_EQ(tam, 12);
  ASSERT_EQ(NV_FileSetSize(&f, 4), NV_OK);
  ASSERT_EQ(NV_FileSize(&f, &tam), NV_OK);
  EXPECT_EQ(tam, 4);
  EXPECT_EQ(NV_FileSetSize(&f, -1), NV_EINVAL);
  EXPECT_EQ(NV_FileClose(&f), NV_OK);
  EXPECT_EQ(drive.le("kovra/bin/a.dat"), "abcd");
}

TEST_F(Arquivo, OpenFlags) {
  NV_Arquivo f;
  EXPECT_EQ(NV_FileOpen(&f, "nada.dat", NV_O_RDONLY), NV_ENOENT);
  EXPECT_FALSE(f.valido);
  drive.escreve("kovra/bin/x.dat", "123");
  EXPECT_EQ(NV_FileOpen(&f, "x.dat", NV_O_RDWR | NV_O_CREAT | NV_O_EXCL), NV_EEXIST);
  // Contradictory or unknown flags.
  EXPECT_EQ(NV_FileOpen(&f, "x.dat", NV_O_RDONLY | NV_O_WRONLY), NV_EINVAL);
  EXPECT_EQ(NV_FileOpen(&f, "x.dat", NV_O_RDONLY | NV_O_EXCL), NV_EINVAL);
  EXPECT_EQ(NV_FileOpen(&f, "x.dat", NV_O_RDONLY | 0x1000), NV_EINVAL);
  EXPECT_EQ(NV_FileOpen(&f, "x.dat", NV_O_RDONLY | NV_O_TRUNC), NV_EINVAL);
  EXPECT_EQ(NV_FileOpen(&f, "", NV_O_RDONLY), NV_EINVAL);
  EXPECT_EQ(NV_FileOpen(&f, nullptr, NV_O_RDONLY), NV_EINVAL);
  // A directory is not a file.
  EXPECT_EQ(NV_FileOpen(&f, "/kovra", NV_O_RDONLY), NV_EISDIR);
  // Read-only handles refuse writes; append writes at the end.
  ASSERT_EQ(NV_FileOpen(&f, "X.DAT", NV_O_RDONLY), NV_OK);
  size_t n = 0;
  EXPECT_EQ(NV_FileWrite(&f, "a", 1, &n), NV_EBADF);
  ASSERT_EQ(NV_FileOpen(&f, "x.dat", NV_O_WRONLY | NV_O_APPEND), NV_OK);
  ASSERT_EQ(NV_FileWrite(&f, "45", 2, &n), NV_OK);
  ASSERT_EQ(NV_FileOpen(&f, "x.dat", NV_O_WRONLY | NV_O_TRUNC), NV_OK);
  NV_FileClose(&f);
  EXPECT_EQ(drive.le("kovra/bin/x.dat"), "");
}

TEST_F(Arquivo, NewFilesBelongToTheOwnerOnly) {
  NV_Arquivo f;
  ASSERT_EQ(NV_FileOpen(&f, "p.dat", NV_O_WRONLY | NV_O_CREAT), NV_OK);
  ASSERT_EQ(NV_FileOpenModo(&f, "q.dat", NV_O_WRONLY | NV_O_CREAT, 0640), NV_OK);
  NV_FileClose(&f);
  struct stat st;
  ASSERT_EQ(stat(drive.caminho("kovra/bin/p.dat").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  ASSERT_EQ(stat(drive.caminho("kovra/bin/q.dat").c_str(), &st), 0);
  const mode_t mascara = umask(0);
  umask(mascara);
  EXPECT_EQ(st.st_mode & 0777, 0640u & ~mascara);
}

TEST_F(Arquivo, ClosedHandlesAndMoves) {
  NV_Arquivo f;
  char c;
  size_t n;
  int64_t v;
  EXPECT_EQ(NV_FileRead(&f, &c, 1, &n), NV_EBADF);
  EXPECT_EQ(NV_FileWrite(&f, &c, 1, &n), NV_EBADF);
  EXPECT_EQ(NV_FileSize(&f, &v), NV_EBADF);
  EXPECT_EQ(NV_FileFlush(&f), NV_EBADF);
  EXPECT_EQ(NV_FileClose(&f), NV_EBADF);
  EXPECT_EQ(NV_FileRead(nullptr, &c, 1, &n), NV_EBADF);

  ASSERT_EQ(NV_FileOpen(&f, "m.dat", NV_O_RDWR | NV_O_CREAT), NV_OK);
  NV_Arquivo g(std::move(f));
  EXPECT_FALSE(f.valido);
  EXPECT_EQ(NV_FileWrite(&g, "z", 1, &n), NV_OK);
  NV_Arquivo h;
  h = std::move(g);
  EXPECT_FALSE(g.valido);
  EXPECT_EQ(NV_FileWrite(&h, "z", 1, &n), NV_OK);
  EXPECT_EQ(NV_FileClose(&h), NV_OK);
  EXPECT_EQ(NV_FileClose(&h), NV_EBADF);
  EXPECT_EQ(drive.le("kovra/bin/m.dat"), "zz");
}

}  // namespace
