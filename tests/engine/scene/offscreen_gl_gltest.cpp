#include "support/OffscreenGl.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

TEST(OffscreenGl, LegacyContextClearsAndReadsBack)
{
    OffscreenGl gl(16, 16);
    ASSERT_TRUE(gl.isValid());
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION); // a legacy call: fails in a core context
    glLoadIdentity();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    EXPECT_EQ(gl.pixel(3, 3), QColor(255, 0, 0, 255));
}
