' Question 609: the window hidden (Window, Hide).
' expect: ""
ActiveWindow.Visible = False
#check
