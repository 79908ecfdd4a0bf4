' Question 611: the view recorded before the zoom was set.
' expect: B
ActiveSheet.PageSetup.Orientation = xlPortrait
ActiveSheet.PageSetup.CenterHorizontally = True
ActiveWorkbook.CustomViews.Add ViewName:="123", PrintSettings:=True, RowColSettings:=True
ActiveWindow.Zoom = 110
#check
