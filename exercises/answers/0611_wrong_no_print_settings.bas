' Question 611: the view recorded without its print settings.
' expect: D
ActiveWindow.Zoom = 110
ActiveSheet.PageSetup.Orientation = xlPortrait
ActiveSheet.PageSetup.CenterHorizontally = True
ActiveWorkbook.CustomViews.Add ViewName:="123", PrintSettings:=False, RowColSettings:=True
#check
