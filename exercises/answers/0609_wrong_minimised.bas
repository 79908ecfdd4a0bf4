' Question 609: the window minimised; it is still visible.
' expect: B
ActiveWindow.WindowState = xlMinimized
#check
