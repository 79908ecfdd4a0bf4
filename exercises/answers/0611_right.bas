' Question 611: the view "123" recorded with its print settings.
' expect: ""
ActiveWindow.Zoom = 110
ActiveSheet.PageSetup.Orientation = xlPortrait
ActiveSheet.PageSetup.CenterHorizontally = True
ActiveWorkbook.CustomViews.Add ViewName:="123", PrintSettings:=True, RowColSettings:=True
#check
